// The map at each of its zooms: the names that cover one another, cover a dot or stand past
// the map's edge, and at an office's zoom how much of the map the office fills.
(() => {
  const zoom = document.getElementById("zoom");
  const map = document.getElementById("map").getBoundingClientRect();
  const TOLERANCE = 0.5;  // px: boxes that only touch do not cover each other
  const covers = (a, b) => a.left < b.right - TOLERANCE && b.left < a.right - TOLERANCE &&
                           a.top < b.bottom - TOLERANCE && b.top < a.bottom - TOLERANCE;
  const inside = (a) => a.left >= map.left - TOLERANCE && a.right <= map.right + TOLERANCE &&
                        a.top >= map.top - TOLERANCE && a.bottom <= map.bottom + TOLERANCE;
  const views = [];
  const chosen = zoom.value;
  for (const option of zoom.options) {
    zoom.value = option.value;
    zoom.onchange();
    const names = [...document.querySelectorAll("#map text")].map((t) => ({ text: t.textContent, box: t.getBoundingClientRect() }));
    const dots = [...document.querySelectorAll("#map circle, #map rect.doorspot")].map((d) => ({
      what: d.getAttribute("class") + " " + (d.getAttribute("data-town") || ""), box: d.getBoundingClientRect() }));
    const overlaps = [];
    names.forEach((a, i) => names.slice(i + 1).forEach((b) => {
      if (covers(a.box, b.box)) overlaps.push(a.text + " / " + b.text);
    }));
    const onDots = [];
    names.forEach((a) => dots.forEach((d) => { if (covers(a.box, d.box)) onDots.push(a.text + " on " + d.what.trim()); }));
    const office = document.querySelector('#map rect.office[data-town="' + option.textContent + '"]');
    const box = office && office.getBoundingClientRect();
    views.push({ name: option.textContent, names: names.map((n) => n.text), overlaps, onDots,
                 clipped: names.filter((n) => !inside(n.box)).map((n) => n.text),
                 fills: box ? Math.max(box.width, box.height) / Math.min(map.width, map.height) : null });
  }
  zoom.value = chosen;
  zoom.onchange();
  return views;
})()
