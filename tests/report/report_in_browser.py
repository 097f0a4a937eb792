#!/usr/bin/env python3
"""report_in_browser.py TSW_SIM CHROMIUM SCREENSHOT_CHECK SCENARIOS WORK

Writes the reports of the badge story and of a lawman story made to fail, and opens each in
one headless Chromium as a phone (390 x 844), on a laptop (1024 x 768) and on a wide screen
(1600 x 900). At each size the map, the time axis and the timeline stand inside the screen,
nothing scrolls sideways, the text is readable and the picture is not blank; the map opens on
the story's office with its doors in sight; the page is used as a person would
(behaviour_probe.js) and what it showed is held against what the simulator printed; and at
those sizes and three more widths no name on the map covers another or a dot or stands past
the map's edge. The failing story gets a last expectation that fails: the failure is shown at
its own moment. A third story, with a greeting, holds the legend's counts against its checks.
"""
import itertools
import json
import os
import re
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True  # nothing written beside the sources
from browser import Browser, evaluate, open_page, resize, screenshot  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = [("phone", 390, 844, True), ("laptop", 1024, 768, False), ("wide", 1600, 900, False)]
NARROWED = [480, 700, 1366]  # further widths for the map's names, the last page resized
# The stories, whether each is made to fail, and the office its events and checks are at.
STORIES = [("badge_story.txt", False, "Valentine"), ("office_order.txt", True, "Valentine")]
# A greeting while the lawman switch is on; the test puts the player at a Valentine door after it.
LEGEND_STORY = "lawman_switch.txt"
DOOR_STATES = ["door 0: unlocked", "door 1: locked", "door 2: locked, breakable",
               "door 3: held open", "door 4: held open the other way", "door standing open"]
OFFICE_ZOOM = 150  # map units across at which names stand beside the dots
LEAST_DOOR = 8  # px: a door's side at an office's zoom, to show its state's colour

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


def check_layout(where, size, layout):
    _, width, height, _ = size
    for name, box in layout["boxes"].items():
        inside = (box["left"] >= 0 and box["top"] >= 0 and box["right"] <= width and
                  box["bottom"] <= height and box["right"] > box["left"] and
                  box["bottom"] > box["top"])
        expect(inside, where + "the %s is not inside the %dx%d screen: %s" % (name, width, height, box))
    expect(layout["scrollWidth"] <= width, where + "the page scrolls sideways (%d wide)" % layout["scrollWidth"])
    expect(layout["fontSize"] >= 12, where + "timeline text of %s px" % layout["fontSize"])


def check_opening_map(where, opened, office):
    """The map opens on the office, each of its doors large enough to show its state and on
    top, never under the player's dot."""
    expect(opened["zoom"] == "Where the story happens: " + office,
           where + "the map opens on '%s', not %s's office" % (opened["zoom"], office))
    doors = [door for door in opened["doors"] if door["shown"]]
    expect(len(doors) >= 2, where + "%d doors in sight as the map opens" % len(doors))
    for door in doors:
        expect(door["side"] >= LEAST_DOOR and door["onTop"],
               where + "a door as the map opens: %s (the player at %s)" % (door, opened["player"]))


def check_behaviour(where, seen, run):
    expect(seen["entries"] == run["entries"],
           where + "%d timeline entries for %d" % (seen["entries"], run["entries"]))
    expect(seen["checks"] == run["expects"],
           where + "%d checks listed for %d expect lines" % (seen["checks"], run["expects"]))
    expect(seen["failedChecks"] == (1 if run["failing"] else 0), where + "failed checks listed")
    expect(len(seen["notRunChecks"]) == len(run["notRun"]) and
           all(text in shown for text, shown in zip(run["notRun"], seen["notRunChecks"])),
           where + "the checks not run: %s, not %s" % (seen["notRunChecks"], run["notRun"]))
    expect(seen["summary"].endswith("%d not run" % len(run["notRun"])) == bool(run["notRun"]),
           where + "the header: " + seen["summary"])
    check_source(where, seen, run)
    check_marks(where, seen, run)
    expect(seen["ticks"] >= 2, where + "%d ticks on the time axis" % seen["ticks"])
    for state in DOOR_STATES:
        expect(state in seen["legend"], where + "the legend lacks " + state)
    expect(seen["viewBox"][2] < 1000, where + "the map opens at %s, not on the story" % seen["viewBox"])
    expect(seen["viewBox"][2] > OFFICE_ZOOM or seen["labels"] > 0, where + "no names at office zoom")
    expect(seen["trail"] and not re.match(r"-?0,-?0 ", seen["trail"]),
           where + "the track starts where nobody walked: " + str(seen["trail"])[:40])
    expect(seen["openedAt"]["blips"] == run["blips"],
           where + "%d blips at the end, %d made" % (seen["openedAt"]["blips"], run["blips"]))
    expect(seen["momentsAtTimes"] == seen["times"],
           where + "%d moments for %d timeline times" % (seen["momentsAtTimes"], seen["times"]))
    first = seen["firstBlip"]
    expect(first["clock"] == first["line"] and first["blips"] >= 1 and first["slider"] < first["max"],
           where + "a click on the first blip's line did not show that moment: %s" % first)
    expect(seen["start"] == {"clock": "0.000", "blips": 0}, where + "the start shows %s" % seen["start"])
    expect(seen["firstMark"]["clock"] != "0.000", where + "the next-mark key: %s" % seen["firstMark"])
    check_zoom(where, seen)
    expect(seen["check"]["clock"] in seen["check"]["text"], where + "a check's click: %s" % seen["check"])
    expect(seen["sourceClick"]["current"], where + "a source line's click: %s" % seen["sourceClick"])
    expect(seen["filtered"] == run["blipLines"],
           where + "the filter left %d lines of %d" % (seen["filtered"], run["blipLines"]))
    expect(seen["tapped"].startswith("door 0x"), where + "a tap on a door: '%s'" % seen["tapped"])
    if run["failing"]:
        failure = seen.get("failure", {})
        at = re.match(r"At ([0-9.]+) s: line [0-9]+: expected 9 blips", failure.get("banner", ""))
        expect(at and failure["clock"] == at.group(1) and failure["blips"] == run["blips"],
               where + "the failure is not shown at its moment: %s" % failure)
        expect(seen.get("failureMarkOnTop") and seen.get("thumbAtFailure"),
               where + "the failure's mark is hidden under the slider's thumb")
    else:
        expect("failure" not in seen, where + "a failure shown for a run that passed")


def check_source(where, seen, run):
    """The Scenario tab as a compiler shows it: each check held or failed, the failing line's
    message under it, and what the failure kept from running."""
    expect(seen["sourceLines"] == run["sourceLines"], where + "the source has %d lines, not %d" %
           (seen["sourceLines"], run["sourceLines"]))
    signs = {line["n"]: line["sign"] for line in seen["source"]}
    expect(signs == run["signs"], where + "the source's marks: %s, not %s" % (signs, run["signs"]))
    messages = [(line["n"], line["message"]) for line in seen["source"] if line["message"]]
    expected = [(run["failedLine"], run["failure"])] if run["failing"] else []
    expect(messages == expected, where + "the messages under the source: %s" % messages)


def check_marks(where, seen, run):
    """One mark for each event that matters, labelled with that event; the marks keys visit
    them all, in order and back."""
    marks = sorted((m["kind"],) + re.match(r"([0-9.]+) s [^:]+: (.*)", m["title"]).groups()
                   for m in seen["marks"])
    events = [mark for mark in marks if mark[0] != "failure"]
    expect(events == sorted(run["marks"]), where + "the marks and their labels differ from the "
           "timeline's events:\n  marks: %s\n  events: %s" % (events, sorted(run["marks"])))
    failures = [mark[2] for mark in marks if mark[0] == "failure"]
    expect(failures == (["line %d: %s" % (run["failedLine"], run["failure"])] if run["failing"] else []),
           where + "the failure's marks: %s" % failures)
    lines = sorted(m["line"] for m in seen["marks"])
    expect(seen["forward"] == [line for line in lines if line > seen["startLine"]],
           where + "the next-mark key visits %s of %s" % (seen["forward"], lines))
    expect(seen["backward"] == [line for line in reversed(lines) if line < seen["endLine"]],
           where + "the mark-before key visits %s of %s" % (seen["backward"], lines))
    expect(set(seen["forward"]) | set(seen["backward"]) == set(lines),
           where + "marks the keys never reach: %s" % (set(lines) - set(seen["forward"])))


def check_zoom(where, seen):
    zoomed = seen["zoomed"]
    expect(abs(zoomed["span"] - zoomed["whole"] / 4) <= 1 and zoomed["ticks"] >= 2 and
           zoomed["marksInside"] and zoomed["thumbInside"] and zoomed["marks"] < len(seen["marks"]),
           where + "the axis zoomed in twice: %s" % zoomed)
    step = seen["zoomedStep"]
    expect(step["min"] <= step["time"] <= step["max"],
           where + "a mark's step left the zoomed axis: %s" % step)
    expect(seen["unzoomed"] == zoomed["whole"], where + "zoomed out again: %d ms" % seen["unzoomed"])


def check_labels(where, views):
    """No name covers another or a dot or stands past the map's edge at any zoom; an office's
    zoom fills the map with the office."""
    for view in views:
        for fault, names in (("cover each other", view["overlaps"]), ("cover dots", view["onDots"]),
                             ("are cut at the map's edge", view["clipped"])):
            expect(not names, where + "%s: names %s: %s" % (view["name"], fault, names))
        expect(view["fills"] is None or view["fills"] >= 0.5,
               where + "%s: the office fills %.0f %% of the map" % (view["name"], 100 * (view["fills"] or 0)))
    # The story's office and the player's track, the whole map, the eight offices.
    expect(len(views) == 11, where + "%d map zooms" % len(views))


def check_readability(where, seen, run):
    expect(seen["failedParts"] >= (5 if run["failing"] else 0),
           where + "%d failed rows' numbers and times" % seen["failedParts"])
    if run["failing"]:
        for moment in ("atFailure", "atStart"):
            expect(seen[moment] >= 4.5, where + "a failed row's number or time at contrast %.2f (%s)" %
                   (seen[moment], moment))
    expect(not seen["clippedNumbers"], where + "badge history numbers clipped: %s" % seen["clippedNumbers"])
    expect(seen["historyNumbers"] >= run["leastHistory"],
           where + "%d badge history numbers" % seen["historyNumbers"])


def badge_marks(printed):
    """The badge put on or taken off, read from the timeline's words: at each time, the last line
    that names each badge worn after that time and not before, or before and not after, when
    that changes which models are worn (edit mode makes the same badge again)."""
    worn, marks = {}, []
    for time, group in itertools.groupby(printed, key=lambda line: line[0]):
        before, last = dict(worn), {}
        for time, text in group:
            on = re.match(r"(\S+) #(\d+) attached to player ", text)
            off = re.match(r"(?:the game removes )?(\S+) #(\d+)(?: deleted)?$", text)
            if on:
                worn[on.group(2)] = on.group(1)
            elif off and off.group(2) in worn:
                del worn[off.group(2)]
            for handle in re.findall(r"#(\d+)\b", text):
                last[handle] = text
        models = lambda badges: sorted(badges.values())
        for handle, text in last.items():
            model = before.get(handle) or worn.get(handle)
            if (handle in before) != (handle in worn) and \
                    models(before).count(model) != models(worn).count(model):
                marks.append(("badge", time, text))
    return marks


def expected_marks(printed):
    marks = badge_marks(printed)
    for time, text in printed:
        kind = ("greeting" if "greets the player" in text else
                "office" if " is made a civilian" in text or " turns free-for-all" in text else
                "door" if text.startswith("door ") and
                not text.endswith("registered with the door system") else None)
        if kind:
            marks.append((kind, time, text))
    return marks


def play(sim, scenario, work, failing):
    """Plays the story (a failing one: the scenario, then a check that fails, a command and a
    check it keeps from running) and reads what the page must show from what the simulator
    printed and the story's lines."""
    story = scenario
    if failing:
        story = os.path.join(work, "story.txt")
        with open(story, "w") as f:
            f.write("include %s\nexpect blips 9\nrun 100\nexpect badge none\n" % scenario)
    with open(os.path.join(work, "sim.log"), "w") as log:
        status = subprocess.call([sim, "--report", os.path.join(work, "report.html"), story],
                                 stdout=log, stderr=subprocess.STDOUT)
    with open(os.path.join(work, "sim.log")) as f:
        output = f.read().splitlines()
    printed = [(m.group(1), m.group(2)) for m in
               (re.match(r"\[ *([0-9.]+)\] (.*)", line) for line in output) if m]
    stopped = next((re.match(r".*:([0-9]+): (.*)", line) for line in output
                    if line.startswith(story + ":") and not line.endswith("FAILED")), None)
    with open(story) as f:
        source = f.read().splitlines()
    failed_line = int(stopped.group(1)) if stopped else 0
    count = lambda text: sum(1 for _, line in printed if re.match(text, line))
    expects = sum(1 for line in story_lines(story) if is_check(line))
    not_run = [line.strip() for line in source[failed_line:] if is_check(line)] if failing else []
    return status, {
        "failing": failing, "expects": expects, "sourceLines": len(source),
        "failedLine": failed_line, "failure": stopped.group(2) if stopped else "",
        "notRun": not_run, "signs": source_signs(story, source, failed_line),
        "entries": len(printed) + expects - len(not_run) + (1 if failing else 0),
        "blips": count("map: sheriff blip at") - count("the game removes the blip at"),
        "blipLines": count("map: sheriff blip"),
        "marks": expected_marks(printed),
        "leastHistory": 1 if failing else 10,
    }


def is_check(line):
    return line.strip().startswith("expect")


def source_signs(story, source, failed_line):
    """What the Scenario tab marks each line with: a check held (an include whose checks held),
    the failing line, and every command after it not run."""
    signs = {}
    for n, line in enumerate(source, 1):
        words = line.split()
        command = words and not words[0].startswith("#")
        holds_checks = words[:1] == ["include"] and any(
            is_check(inner) for inner in story_lines(os.path.join(os.path.dirname(story), " ".join(words[1:]))))
        signs[n] = ("\u2717" if n == failed_line else
                    "not run" if failed_line and n > failed_line and command else
                    "\u2713" if is_check(line) or holds_checks else "")
    return signs


class Run:
    """One Chromium for every page, and the programs the checks run."""

    def __init__(self, sim, chromium, blank_check, work):
        self.sim, self.blank_check = sim, blank_check
        self.browser = Browser(chromium, os.path.join(work, "profile"))

    def check_size(self, page, size, run, label):
        """The page at one size: its layout and picture, the map as it opens, how a person
        uses it, then its names and what must stay readable (both move the map's zoom and the
        time, which the use does not need afresh). Returns the tab."""
        name, width, height, mobile = size
        where = label + name + ": "
        session = open_page(self.browser, page, width, height, mobile)
        check_layout(where, size, evaluate(self.browser, session, probe("layout_probe.js")))
        picture = os.path.join(os.path.dirname(page), name + ".png")
        screenshot(self.browser, session, picture, width, height)
        expect(subprocess.call([self.blank_check, picture]) == 0, where + "the picture is blank")
        check_opening_map(where, evaluate(self.browser, session, probe("opening_map_probe.js")), run["office"])
        seen = evaluate(self.browser, session, probe("behaviour_probe.js"))
        with open(os.path.join(os.path.dirname(page), name + ".json"), "w") as f:
            json.dump(seen, f, indent=1)
        check_behaviour(where, seen, run)
        check_labels(where, evaluate(self.browser, session, probe("labels_probe.js")))
        check_readability(where, evaluate(self.browser, session, probe("readability_probe.js")), run)
        return session

    def check_story(self, scenario, work, failing, office):
        """A story's report at every size, and its map's names at three more widths (the last
        page narrowed and widened)."""
        label = os.path.basename(scenario) + (", made to fail" if failing else "") + ", "
        os.makedirs(work)
        status, run = play(self.sim, scenario, work, failing)
        if status != (1 if failing else 0):
            expect(False, label + "tsw-sim exited %d (see %s/sim.log)" % (status, work))
            return
        run["office"] = office
        for size in SIZES:
            session = self.check_size(os.path.join(work, "report.html"), size, run, label)
        for width in NARROWED:
            resize(self.browser, session, width, 768)
            check_labels(label + "%d px: " % width, evaluate(self.browser, session, probe("labels_probe.js")))

    def check_legend(self, scenario, work):
        """The story, then the player at a door of Valentine's office and the plug-in loaded
        again: at each check that a ped greeted or has the lawman switch on, the legend counts
        it and the ped's dot says so; the map opens on the office, the door above the player's
        dot; the world's blips, two at each office, are told why."""
        label = os.path.basename(scenario) + " and a door, "
        os.makedirs(work)
        story = os.path.join(work, "story.txt")
        with open(story, "w") as f:
            f.write("include %s\nplayer at door 0x119AC64B\nrun 500\nexpect prompt Lock shown\n"
                    "unload\nload\nrun 1000\n" % scenario)
        report = os.path.join(work, "report.html")
        with open(os.path.join(work, "sim.log"), "w") as log:
            status = subprocess.call([self.sim, "--report", report, story], stdout=log, stderr=subprocess.STDOUT)
        if status != 0:
            expect(False, label + "tsw-sim exited %d (see %s/sim.log)" % (status, work))
            return
        session = open_page(self.browser, report, 1024, 768, False)
        opened = evaluate(self.browser, session, probe("opening_map_probe.js"))
        check_opening_map(label, opened, "Valentine")
        expect(opened["player"]["atDoor"], label + "the player is not at a door as the page opens")
        world = evaluate(self.browser, session, 'document.getElementById("state").textContent')
        told = re.search(r"(\d+) on the map, (\d+) at each office: the plug-in was loaded (\d+) times", world)
        counts = [int(n) for n in told.groups()] if told else []  # each load's blips at the eight offices
        expect(counts and counts[1] >= 2 and counts == [8 * counts[1], counts[1], counts[1]],
               label + "the blips after loads of the plug-in: " + world)
        checks = evaluate(self.browser, session, probe("legend_probe.js"))
        words = {"greeted": "greeted", "switch": "lawman switch on"}
        for check in checks:
            status = "greeted" if " spoke " in check["text"] else "switch"
            expect(check["counts"].get(status, 0) >= 1 and words[status] in check["dot"],
                   label + "at '%s' the legend counts %s and the ped's dot says '%s'" %
                   (check["text"], check["counts"], check["dot"]))
        expect(any(" spoke " in check["text"] for check in checks), label + "no greeting among the checks")

    def close(self):
        self.browser.close()


def main():
    sim, chromium, blank_check, scenarios, work = sys.argv[1:6]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    run = Run(sim, chromium, blank_check, work)
    try:
        for name, failing, office in STORIES:
            folder = os.path.join(work, name[:-len(".txt")] + ("_failing" if failing else ""))
            run.check_story(os.path.join(scenarios, name), folder, failing, office)
        run.check_legend(os.path.join(scenarios, LEGEND_STORY), os.path.join(work, "legend"))
    finally:
        run.close()
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
