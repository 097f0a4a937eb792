// The page as a person uses it, each step's result kept: the slider, the timeline, the checks,
// the source, the failure banner, the map.
(() => {
  const $ = (id) => document.getElementById(id);
  const slider = $("slider");
  const blips = () => document.querySelectorAll("#map .blip").length;
  const clock = () => $("clock").textContent.split(" ")[0];
  const seen = {};
  const timeline = [...document.querySelectorAll("#timeline li")];
  seen.entries = timeline.length;
  seen.checks = document.querySelectorAll("#checks li").length;
  seen.failedChecks = document.querySelectorAll("#checks li.failed").length;
  seen.sourceLines = document.querySelectorAll("#source li").length;
  seen.failedSource = [...document.querySelectorAll("#source li.failed")].map((li) => Number(li.dataset.n));
  seen.marks = [...document.querySelectorAll("#marks .mark")].map((m) => m.className.split(" ")[1]);
  seen.ticks = document.querySelectorAll("#scale .tick").length;
  seen.legend = $("legend").textContent;
  seen.labels = document.querySelectorAll("#map text.label").length;
  seen.viewBox = $("map").getAttribute("viewBox").split(" ").map(Number);
  seen.trail = ($("trail") || { getAttribute: () => "" }).getAttribute("points");
  seen.openedAt = { clock: clock(), blips: blips() };
  // A click on the line of the first blip made moves time there: blips on the map, not the end.
  const first = timeline.find((li) => li.textContent.includes("map: sheriff blip"));
  first.click();
  seen.firstBlip = { clock: clock(), line: first.textContent.match(/\[ *([0-9.]+) s\]/)[1], blips: blips(),
                     slider: Number(slider.value), max: Number(slider.max) };
  // The slider at the start shows the world before anything happened.
  slider.value = 0;
  slider.dispatchEvent(new Event("input"));
  seen.start = { clock: clock(), blips: blips() };
  // The next-mark key steps to the first mark.
  document.dispatchEvent(new KeyboardEvent("keydown", { key: "n" }));
  seen.firstMark = { clock: clock(), current: (document.querySelector("#timeline li.current") || {}).textContent };
  // A check and a source line move time too.
  const check = document.querySelector("#checks li");
  check.click();
  seen.check = { clock: clock(), text: check.textContent };
  const ran = document.querySelector("#source li.ran");
  ran.click();
  seen.source = { clock: clock(), line: Number(ran.dataset.n),
                  current: (document.querySelector("#timeline li.current") || {}).textContent };
  // The filter narrows the timeline.
  $("filter").value = "sheriff blip";
  $("filter").dispatchEvent(new Event("input"));
  seen.filtered = document.querySelectorAll("#timeline li:not(.hidden)").length;
  // The failure banner shows the world at the failure's time.
  const banner = document.querySelector("#failures a");
  if (banner) {
    banner.click();
    seen.failure = { clock: clock(), banner: banner.textContent, blips: blips() };
  }
  // A tap on a ped or a door names it below the map.
  const dot = document.querySelector("#map .doorspot");
  dot.dispatchEvent(new MouseEvent("click"));
  seen.tapped = $("details").textContent;
  return seen;
})()
