// At each held check that a ped greeted or has the lawman switch on: the legend's counts then,
// and what that ped's dot says of it.
(() => {
  const wanted = /expect (?:spoke (\w+) GREET\w* [1-9]|switch (\w+) on)/;
  return [...document.querySelectorAll("#checks li.held")].filter((li) => wanted.test(li.textContent)).map((li) => {
    li.click();
    const [, greeted, switched] = li.textContent.match(wanted);
    const ped = greeted || switched;
    const counts = {};
    for (const item of document.querySelectorAll("#legend span")) {
      const [status, count] = [item.querySelector("i"), item.textContent.match(/\((\d+)\)$/)];
      if (status && count) counts[status.className] = Number(count[1]);
    }
    // Peds on one spot share a dot's text, one part each.
    const dot = [...document.querySelectorAll("#map circle.ped title")]
      .flatMap((title) => title.textContent.split(" | ")).find((text) => text.startsWith(ped + " ("));
    return { text: li.textContent, counts, dot: dot || "" };
  });
})()
