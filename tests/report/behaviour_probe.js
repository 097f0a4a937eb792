// The page as a person uses it, each step's result kept: the slider, the marks and their keys,
// the axis's zoom, the timeline, the checks, the source, the failure banner, the map.
(() => {
  const $ = (id) => document.getElementById(id);
  const slider = $("slider");
  const blips = () => document.querySelectorAll("#map .blip").length;
  const clock = () => $("clock").textContent.split(" ")[0];
  const current = () => Number((document.querySelector("#timeline li.current") || { dataset: { line: -1 } }).dataset.line);
  const key = (name) => document.dispatchEvent(new KeyboardEvent("keydown", { key: name }));
  const slideTo = (ms) => { slider.value = ms; slider.dispatchEvent(new Event("input")); };
  const seen = {};
  const timeline = [...document.querySelectorAll("#timeline li")];
  seen.entries = timeline.length;
  seen.summary = $("summary").textContent;
  seen.checks = document.querySelectorAll("#checks li").length;
  seen.failedChecks = document.querySelectorAll("#checks li.failed").length;
  seen.notRunChecks = [...document.querySelectorAll("#checks li.notrun")].map((li) => li.textContent);
  seen.sourceLines = document.querySelectorAll("#source li").length;
  seen.source = [...document.querySelectorAll("#source li")].map((li) => ({
    n: Number(li.dataset.n), sign: li.querySelector(".sign").textContent,
    message: (li.querySelector(".message") || { textContent: "" }).textContent }));
  const markBars = () => [...document.querySelectorAll("#marks .mark")];
  seen.marks = markBars().map((m) => ({ kind: m.className.split(" ")[1], line: Number(m.dataset.line), title: m.title }));
  // The failure's mark, with the slider's thumb on it as the page opens: the mark is on top.
  const failureMark = document.querySelector("#marks .mark.failure");
  if (failureMark) {
    const r = failureMark.getBoundingClientRect();
    seen.failureMarkOnTop = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2) === failureMark;
    seen.thumbAtFailure = Number(slider.value) === Number(slider.max);
  }
  seen.ticks = document.querySelectorAll("#scale .tick").length;
  seen.legend = $("legend").textContent;
  seen.labels = document.querySelectorAll("#map text.label").length;
  seen.viewBox = $("map").getAttribute("viewBox").split(" ").map(Number);
  seen.trail = ($("trail") || { getAttribute: () => "" }).getAttribute("points");
  seen.openedAt = { clock: clock(), blips: blips() };
  // Every time on the timeline is a moment of its own.
  const times = [...new Set(timeline.map((li) => Number(li.querySelector(".t").textContent.match(/[0-9.]+/)[0])))];
  const momentsSeen = new Set();
  for (const t of times) {
    slideTo(Math.round(t * 1000));
    momentsSeen.add($("clock").textContent.match(/moment (\d+)/)[1]);
  }
  seen.times = times.length;
  seen.momentsAtTimes = momentsSeen.size;
  // A click on the line of the first blip made moves time there: blips on the map, not the end.
  const first = timeline.find((li) => li.textContent.includes("map: sheriff blip"));
  first.click();
  seen.firstBlip = { clock: clock(), line: first.textContent.match(/\[ *([0-9.]+) s\]/)[1], blips: blips(),
                     slider: Number(slider.value), max: Number(slider.max) };
  // The slider at the start shows the world before anything happened.
  slideTo(0);
  seen.start = { clock: clock(), blips: blips() };
  // The next-mark key from the start, then the mark-before key from the end: every mark in turn.
  const walk = (name) => {
    const lines = [];
    for (let last = current(); lines.length < 1000; last = current()) {
      key(name);
      if (current() === last) break;
      lines.push(current());
    }
    return lines;
  };
  seen.startLine = current();
  seen.forward = walk("n");
  seen.firstMark = { clock: clock() };
  slideTo(Number(slider.max));
  seen.endLine = current();
  seen.backward = walk("p");
  // The axis's zoom: + twice shows a quarter of the time around the shown time, the marks in it
  // only; a step to a mark outside moves the axis there; - twice shows it all again.
  const span = () => Number(slider.max) - Number(slider.min);
  const whole = span();
  key("+");
  key("+");
  const inSpan = (m) => { const r = m.getBoundingClientRect(), s = $("marks").getBoundingClientRect();
                          return r.right >= s.left - 3 && r.left <= s.right + 3; };
  seen.zoomed = { span: span(), whole, ticks: document.querySelectorAll("#scale .tick").length,
                  marks: markBars().length, marksInside: markBars().every(inSpan),
                  thumbInside: Number(slider.value) >= Number(slider.min) && Number(slider.value) <= Number(slider.max) };
  key("n");
  seen.zoomedStep = { time: Number(clock()) * 1000, min: Number(slider.min), max: Number(slider.max) };
  key("-");
  key("-");
  seen.unzoomed = span();
  // A check and a source line move time too.
  const check = document.querySelector("#checks li");
  check.click();
  seen.check = { clock: clock(), text: check.textContent };
  const ran = document.querySelector("#source li.ran");
  ran.click();
  seen.sourceClick = { clock: clock(), line: Number(ran.dataset.n),
                       current: (document.querySelector("#timeline li.current") || {}).textContent };
  // The filter narrows the timeline.
  $("filter").value = "sheriff blip";
  $("filter").dispatchEvent(new Event("input"));
  seen.filtered = document.querySelectorAll("#timeline li:not(.hidden)").length;
  $("filter").value = "";
  $("filter").dispatchEvent(new Event("input"));
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
