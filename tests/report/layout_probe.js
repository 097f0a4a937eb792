// The page as it opened: the screen, and where the map, the time axis and the timeline stand.
(() => {
  const box = (id) => {
    const r = document.getElementById(id).getBoundingClientRect();
    return { left: r.left, top: r.top, right: r.right, bottom: r.bottom };
  };
  return {
    width: innerWidth, height: innerHeight,
    scrollWidth: document.documentElement.scrollWidth,
    fontSize: parseFloat(getComputedStyle(document.getElementById("timeline")).fontSize),
    boxes: { map: box("map"), axis: box("track"), timeline: box("timeline") },
  };
})()
