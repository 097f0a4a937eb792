// What must stay readable: the number and time of each failed row against its background,
// as the failure is shown (the page opens there, and a click on the failure's banner goes
// there) and while time is shown before it, when later rows fade; and the badge history's
// numbers inside their table.
(() => {
  const rgba = (colour) => { const [r, g, b, a = 1] = colour.match(/[\d.]+/g).map(Number); return [r, g, b, a]; };
  const background = (node) => {
    for (let e = node; e; e = e.parentElement) {
      const c = rgba(getComputedStyle(e).backgroundColor);
      if (c[3] > 0) return c;
    }
    return [255, 255, 255, 1];
  };
  const opacity = (node) => {
    let o = 1;
    for (let e = node; e; e = e.parentElement) o *= Number(getComputedStyle(e).opacity);
    return o;
  };
  // Over the pane's white, as the screen shows it.
  const onWhite = (c, o) => c.slice(0, 3).map((v) => v * o + 255 * (1 - o));
  const luminance = (c) => {
    const [r, g, b] = c.map((v) => { v /= 255; return v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4; });
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
  };
  const contrast = (node) => {
    const o = opacity(node);
    const [a, b] = [luminance(onWhite(rgba(getComputedStyle(node).color), o)), luminance(onWhite(background(node), o))];
    return (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
  };
  const failedParts = () => [...document.querySelectorAll(
    "#timeline li.failed .t, #timeline li.failure .t, #checks li.failed .t, #source li.failed .n, #source li.failed .sign")];
  const lowest = () => Math.min(...failedParts().map(contrast));
  const seen = { failedParts: failedParts().length, atFailure: lowest() };
  const slider = document.getElementById("slider");
  slider.value = 0;
  slider.dispatchEvent(new Event("input"));
  seen.atStart = lowest();
  const list = document.getElementById("badgeHistory").getBoundingClientRect();
  const numbers = [...document.querySelectorAll("#badgeHistory .n")];
  seen.historyNumbers = numbers.length;
  seen.clippedNumbers = numbers.filter((n) => {
    const r = n.getBoundingClientRect();
    return r.left < list.left || r.right > list.right || n.scrollWidth > n.clientWidth;
  }).map((n) => n.textContent);
  return seen;
})()
