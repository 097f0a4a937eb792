#!/usr/bin/env python3
"""report_in_browser.py TSW_SIM CHROMIUM SCREENSHOT_CHECK SCENARIO WORK [failing]

Writes the scenario's report and opens it in headless Chromium as a phone (390 x 844), on a
laptop (1024 x 768) and on a wide screen (1600 x 900). At each size the map, the time axis and
the timeline stand inside the screen, nothing scrolls sideways, the text is readable and the
picture is not blank; then the page is used as a person would (browser's behaviour_probe.js)
and what it showed is held against what the simulator printed. With "failing" the story gets
a last expectation that fails: the failure is shown at its own moment.
"""
import json
import os
import re
import shutil
import subprocess
import sys

from browser import Browser, evaluate, open_page, screenshot

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = [("phone", 390, 844, True), ("laptop", 1024, 768, False), ("wide", 1600, 900, False)]
DOOR_STATES = ["door 0: unlocked", "door 1: locked", "door 2: locked, breakable",
               "door 3: held open", "door 4: held open the other way", "door standing open"]
OFFICE_ZOOM = 150  # map units across at which names stand beside the dots

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def probe(name):
    with open(os.path.join(HERE, name)) as f:
        return f.read()


def story_lines(path):
    """The story's lines, an included file's in its place."""
    lines = []
    with open(path) as f:
        for line in f.read().splitlines():
            words = line.split()
            if words[:1] == ["include"]:
                lines += story_lines(os.path.join(os.path.dirname(path), " ".join(words[1:])))
            else:
                lines.append(line)
    return lines


def check_layout(size, layout):
    _, width, height, _ = size
    for name, box in layout["boxes"].items():
        inside = (box["left"] >= 0 and box["top"] >= 0 and box["right"] <= width and
                  box["bottom"] <= height and box["right"] > box["left"] and
                  box["bottom"] > box["top"])
        expect(inside, "%s: the %s is not inside the %dx%d screen: %s" %
               (size[0], name, width, height, box))
    expect(layout["scrollWidth"] <= width,
           "%s: the page scrolls sideways (%d wide)" % (size[0], layout["scrollWidth"]))
    expect(layout["fontSize"] >= 12, "%s: timeline text of %s px" % (size[0], layout["fontSize"]))


def check_behaviour(size, seen, run):
    where = size[0] + ": "
    expect(seen["entries"] == run["entries"],
           where + "%d timeline entries for %d" % (seen["entries"], run["entries"]))
    expect(seen["checks"] == run["expects"],
           where + "%d checks listed for %d expect lines" % (seen["checks"], run["expects"]))
    expect(seen["failedChecks"] == (1 if run["failing"] else 0), where + "failed checks listed")
    expect(seen["sourceLines"] == run["sourceLines"], where + "the source has %d lines, not %d" %
           (seen["sourceLines"], run["sourceLines"]))
    expect(seen["failedSource"] == ([run["sourceLines"]] if run["failing"] else []),
           where + "the failing source line marked: %s" % seen["failedSource"])
    expect(seen["ticks"] >= 2, where + "%d ticks on the time axis" % seen["ticks"])
    expect(seen["marks"] and (not run["failing"] or "failure" in seen["marks"]),
           where + "marks on the axis: %s" % seen["marks"])
    for state in DOOR_STATES:
        expect(state in seen["legend"], where + "the legend lacks " + state)
    expect(seen["viewBox"][2] < 1000, where + "the map opens at %s, not on the story" % seen["viewBox"])
    expect(seen["viewBox"][2] > OFFICE_ZOOM or seen["labels"] > 0, where + "no names at office zoom")
    expect(seen["trail"] and not re.match(r"-?0,-?0 ", seen["trail"]),
           where + "the track starts where nobody walked: " + str(seen["trail"])[:40])
    expect(seen["openedAt"]["blips"] == run["blips"],
           where + "%d blips at the end, %d made" % (seen["openedAt"]["blips"], run["blips"]))
    first = seen["firstBlip"]
    expect(first["clock"] == first["line"] and first["blips"] >= 1 and first["slider"] < first["max"],
           where + "a click on the first blip's line did not show that moment: %s" % first)
    expect(seen["start"] == {"clock": "0.000", "blips": 0}, where + "the start shows %s" % seen["start"])
    expect(seen["firstMark"]["clock"] != "0.000", where + "the next-mark key: %s" % seen["firstMark"])
    expect(seen["check"]["clock"] in seen["check"]["text"], where + "a check's click: %s" % seen["check"])
    expect(seen["source"]["current"], where + "a source line's click: %s" % seen["source"])
    expect(seen["filtered"] == run["blipLines"],
           where + "the filter left %d lines of %d" % (seen["filtered"], run["blipLines"]))
    expect(seen["tapped"].startswith("door 0x"), where + "a tap on a door: '%s'" % seen["tapped"])
    if run["failing"]:
        failure = seen.get("failure", {})
        at = re.match(r"At ([0-9.]+) s: line [0-9]+: expected 9 blips", failure.get("banner", ""))
        expect(at and failure["clock"] == at.group(1) and failure["blips"] == run["blips"],
               where + "the failure is not shown at its moment: %s" % failure)
    else:
        expect("failure" not in seen, where + "a failure shown for a run that passed")


def play(sim, scenario, work, failing):
    story = scenario
    if failing:
        story = os.path.join(work, "story.txt")
        with open(story, "w") as f:
            f.write("include %s\nexpect blips 9\n" % scenario)
    with open(os.path.join(work, "sim.log"), "w") as log:
        status = subprocess.call([sim, "--report", os.path.join(work, "report.html"), story],
                                 stdout=log, stderr=subprocess.STDOUT)
    with open(os.path.join(work, "sim.log")) as f:
        printed = [line for line in f.read().splitlines() if line.startswith("[")]
    expects = sum(1 for line in story_lines(story) if line.strip().startswith("expect"))
    count = lambda text: sum(1 for line in printed if re.match(r"\[ *[0-9.]+\] " + text, line))
    with open(story) as f:
        source_lines = len(f.read().splitlines())
    return status, {
        "failing": failing, "expects": expects, "sourceLines": source_lines,
        "entries": len(printed) + expects + (1 if failing else 0),
        "blips": count("map: sheriff blip at") - count("the game removes the blip at"),
        "blipLines": count("map: sheriff blip"),
    }


def main():
    sim, chromium, blank_check, scenario, work = sys.argv[1:6]
    failing = sys.argv[6:7] == ["failing"]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    status, run = play(sim, scenario, work, failing)
    if status != (1 if failing else 0):
        print("%s: tsw-sim exited %d (see %s/sim.log)" % (scenario, status, work))
        return 1
    browser = Browser(chromium, os.path.join(work, "profile"))
    try:
        for size in SIZES:
            session = open_page(browser, os.path.join(work, "report.html"), *size[1:])
            check_layout(size, evaluate(browser, session, probe("layout_probe.js")))
            picture = os.path.join(work, size[0] + ".png")
            screenshot(browser, session, picture)
            expect(subprocess.call([blank_check, picture]) == 0, size[0] + ": the picture is blank")
            seen = evaluate(browser, session, probe("behaviour_probe.js"))
            with open(os.path.join(work, size[0] + ".json"), "w") as f:
                json.dump(seen, f, indent=1)
            check_behaviour(size, seen, run)
    finally:
        browser.close()
    for failure in failures:
        print("%s: %s" % (scenario, failure))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
