// The map as the page opens: the zoom chosen, each door's size on the screen, whether it is in
// sight and on top (nothing drawn over its centre), and whether the player stands on a door.
(() => {
  const map = document.getElementById("map").getBoundingClientRect();
  const zoom = document.getElementById("zoom");
  const player = document.querySelector("#map circle.player").getBoundingClientRect();
  const centre = (r) => [r.left + r.width / 2, r.top + r.height / 2];
  const [px, py] = centre(player);
  let atDoor = false;
  const doors = [...document.querySelectorAll("#map rect.doorspot")].map((rect) => {
    const r = rect.getBoundingClientRect(), [x, y] = centre(r);
    atDoor = atDoor || (px >= r.left && px <= r.right && py >= r.top && py <= r.bottom);
    const shown = x >= map.left && x <= map.right && y >= map.top && y <= map.bottom;
    return { door: rect.querySelector("title").textContent, side: Math.round(r.width * 10) / 10, shown,
             onTop: shown && document.elementFromPoint(x, y) === rect };
  });
  return { zoom: zoom.selectedOptions[0].textContent, doors, player: { x: px, y: py, atDoor } };
})()
