// SPDX-License-Identifier: Apache-2.0
// The page's behaviour: reads the first bytes of the dropped files, hands
// them to the library (compiled to WebAssembly, see dist/vellmeta.js), and
// puts the texts it returns into the page. Every text shown or saved is
// written by the library; this script formats nothing and inserts header
// data only as text (textContent), never as markup.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  const el = (tag, text, className) => {
    const node = document.createElement(tag);
    if (text !== undefined) node.textContent = text;
    if (className) node.className = className;
    return node;
  };

  // What tests read: when the decoder is ready, and the timing of the last
  // drop.
  const page = { lastShown: null };
  window.vellmetaPage = page;

  let lib = null;
  let clips = null;

  page.ready = createVellmeta().then((module) => {
    lib = module;
    clips = new lib.ClipSet();
    $('status').textContent = 'Ready.';
    $('version').textContent = 'Library ' + lib.libraryVersion();
  });

  // Each entry: a File, or a problem found before reading (a folder). The
  // headers are read first; a newer drop supersedes this one.
  let drops = 0;
  async function show(entries, startedAt) {
    const drop = ++drops;
    await page.ready;
    const problems = [];
    const reads = entries.map(async (entry) => {
      if (entry.directory) return [entry.name, lib.ClipSet.directoryProblem()];
      const file = entry.file;
      const sizeProblem = lib.ClipSet.sizeProblem(file.size);
      if (sizeProblem) return [file.name, sizeProblem];
      try {
        return [file.name, null, new Uint8Array(await file.slice(0, lib.headerSize()).arrayBuffer())];
      } catch (e) {
        return [file.name, lib.ClipSet.unreadableProblem()];
      }
    });
    // All files are read at once; clips and messages keep the drop's order.
    const headers = [];
    for (const [name, problem, header] of await Promise.all(reads)) {
      if (problem) problems.push([name, problem]);
      else headers.push([name, header]);
    }
    if (drop !== drops) return;
    const readAt = performance.now();
    clips.clear();
    for (const [name, header] of headers)
      if (!clips.add(name, header))
        problems.push([name, lib.ClipSet.sizeProblem(header.length)]);
    await render(problems, { startedAt, readAt, decodedAt: performance.now() });
  }

  // The next frame, after the browser has laid out and painted.
  const painted = () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));

  // Problems, the table, then the clips' own views a few at a time, so that
  // the table of many clips shows at once. A newer drop stops an older
  // rendering.
  let rendering = 0;
  async function render(problems, times) {
    const run = ++rendering;
    const list = $('problems');
    list.replaceChildren();
    for (const [name, problem] of problems) {
      const item = el('li');
      item.append(el('span', name, 'file'), el('span', problem, 'problem'));
      list.append(item);
    }

    const count = clips.size();
    $('save-json').disabled = $('save-csv').disabled = count === 0;
    $('status').textContent = count + (count === 1 ? ' clip' : ' clips') + ' decoded in this page.';
    renderTable(count);
    const container = $('clips');
    container.replaceChildren();
    await painted();
    const tableShownAt = performance.now();

    for (let i = 0; i < count; i += 10) {
      if (run !== rendering) return;
      for (let k = i; k < Math.min(count, i + 10); ++k)
        container.append(clipSection(JSON.parse(clips.clipView(k))));
      applySearch();
      await painted();
    }
    page.lastShown = { clips: count, problems: problems.length, ...times, tableShownAt, shownAt: performance.now() };
  }

  // One row per clip: the columns of the CSV clip report.
  function renderTable(count) {
    const section = $('table-section');
    section.hidden = count < 2;
    const table = $('clip-table');
    table.replaceChildren();
    if (count < 2) return;
    const rows = clips.table();
    const head = el('thead');
    const headRow = el('tr');
    for (const cell of rows[0]) headRow.append(el('th', cell));
    head.append(headRow);
    const body = el('tbody');
    for (const cells of rows.slice(1)) {
      const row = el('tr');
      for (const cell of cells) row.append(el('td', cell));
      body.append(row);
    }
    table.append(head, body);
  }

  function fieldList(fields) {
    const list = el('dl');
    for (const field of fields) {
      const row = el('div', undefined, 'field');
      const term = el('dt', field.label);
      if (field.name) term.title = field.name;
      row.append(term, el('dd', field.value));
      list.append(row);
    }
    return list;
  }

  function clipSection(view) {
    const section = el('section', undefined, view.isError ? 'clip failed' : 'clip');
    section.append(el('h2', view.name));
    for (const heading of view.headings) {
      const group = el('div', undefined, 'group');
      group.append(el('h3', heading.title), fieldList(heading.fields));
      section.append(group);
    }
    const result = el('div', undefined, 'group result');
    result.append(el('h3', view.result.title), fieldList(view.result.fields));
    section.append(result);
    return section;
  }

  // Hides the fields whose label, name or value does not hold the search
  // text, and the headings left empty; the result always stays.
  function applySearch() {
    const wanted = $('search').value.trim().toLowerCase();
    for (const group of document.querySelectorAll('#clips .group:not(.result)')) {
      let visible = 0;
      for (const row of group.querySelectorAll('.field')) {
        const text = (row.textContent + ' ' + (row.firstChild.title || '')).toLowerCase();
        const match = wanted === '' || text.includes(wanted);
        row.hidden = !match;
        if (match) ++visible;
      }
      group.hidden = visible === 0;
    }
  }

  function save(format, fileName, type) {
    const url = URL.createObjectURL(new Blob([clips.report(format)], { type }));
    const link = el('a');
    link.href = url;
    link.download = fileName;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 0);
  }

  // Folders dropped on the page show up as entries, not as files.
  function droppedEntries(dataTransfer) {
    const entries = [];
    const items = dataTransfer.items ? Array.from(dataTransfer.items) : [];
    if (items.length > 0 && typeof items[0].webkitGetAsEntry === 'function') {
      for (const item of items) {
        if (item.kind !== 'file') continue;
        const entry = item.webkitGetAsEntry();
        const file = item.getAsFile();
        if (entry && entry.isDirectory)
          entries.push({ directory: true, name: entry.name });
        else if (file)
          entries.push({ file });
      }
      return entries;
    }
    return Array.from(dataTransfer.files, (file) => ({ file }));
  }

  $('files').addEventListener('change', (event) => {
    const startedAt = performance.now();
    show(Array.from(event.target.files, (file) => ({ file })), startedAt);
  });

  const drop = $('drop');
  for (const type of ['dragenter', 'dragover']) {
    document.addEventListener(type, (event) => {
      event.preventDefault();
      drop.classList.add('over');
    });
  }
  document.addEventListener('dragleave', () => drop.classList.remove('over'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    drop.classList.remove('over');
    const startedAt = performance.now();
    show(droppedEntries(event.dataTransfer), startedAt);
  });

  $('search').addEventListener('input', applySearch);
  $('color-space').addEventListener('change', async (event) => {
    await page.ready;
    clips.setColorSpace(event.target.value);
    render(Array.from(document.querySelectorAll('#problems li'),
                      (li) => [li.firstChild.textContent, li.lastChild.textContent]), { startedAt: performance.now() });
  });
  $('save-json').addEventListener('click', () => save('json', 'vellmeta.json', 'application/json'));
  $('save-csv').addEventListener('click', () => save('csv', 'vellmeta.csv', 'text/csv'));
})();
