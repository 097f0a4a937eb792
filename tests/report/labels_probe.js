// The map at each of its zooms: every name's box on the screen, the names that cover one
// another, and at an office's zoom how much of the map the office fills.
(() => {
  const zoom = document.getElementById("zoom");
  const map = document.getElementById("map").getBoundingClientRect();
  const TOLERANCE = 0.5;  // px: boxes that only touch do not cover each other
  const covers = (a, b) => a.left < b.right - TOLERANCE && b.left < a.right - TOLERANCE &&
                           a.top < b.bottom - TOLERANCE && b.top < a.bottom - TOLERANCE;
  const views = [];
  const chosen = zoom.value;
  for (const option of zoom.options) {
    zoom.value = option.value;
    zoom.onchange();
    const names = [...document.querySelectorAll("#map text")].map((t) => ({ text: t.textContent, box: t.getBoundingClientRect() }));
    const overlaps = [];
    names.forEach((a, i) => names.slice(i + 1).forEach((b) => {
      if (covers(a.box, b.box)) overlaps.push(a.text + " / " + b.text);
    }));
    const office = document.querySelector('#map rect.office[data-town="' + option.textContent + '"]');
    const box = office && office.getBoundingClientRect();
    views.push({ name: option.textContent, names: names.length, overlaps,
                 fills: box ? Math.max(box.width, box.height) / Math.min(map.width, map.height) : null });
  }
  zoom.value = chosen;
  zoom.onchange();
  return views;
})()
