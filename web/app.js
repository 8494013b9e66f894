// SPDX-License-Identifier: Apache-2.0
// The page's behaviour: walks the dropped folders as the command-line tool
// walks them, reads the first bytes of each file, hands them to the library
// (compiled to WebAssembly: the npm package's module, copied to dist/vellmeta.js), and puts the texts it
// returns into the page. Every text shown or saved is written by the
// library; this script formats nothing and inserts header data only as text
// (textContent), never as markup.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  const el = (tag, text, className) => {
    const node = document.createElement(tag);
    if (text !== undefined) node.textContent = text;
    if (className) node.className = className;
    return node;
  };
  // The next frame, after the browser has laid out and painted.
  const painted = () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));

  // What tests read: when the decoder is ready, the timing of the last drop
  // and of the last sort or filter.
  const page = {
    lastShown: null,
    lastTableChange: null,
    // The paths of the rows the table holds, in its order (filtered).
    viewPaths: () => Array.from(table.view, (clip) => table.cells[clip][0]),
    scrollToRow: (place) => { table.active = place; scrollToActive(); },
    wasmBytes: () => lib.HEAP8.length,
  };
  window.vellmetaPage = page;

  let lib = null;
  let clips = null;
  let columns = []; // the clip report's columns: {label, name, kind}

  page.ready = createVellmetaModule().then((module) => {
    lib = module;
    clips = new lib.ClipSet();
    columns = JSON.parse(clips.columns());
    buildHead();
    applyExtensions();
    $('status').textContent = 'Ready.';
    $('version').textContent = 'Library ' + lib.libraryVersion();
  });

  // ---- walking what was dropped or chosen ----------------------------------
  //
  // A node is a file ({name, file: () => Promise<File>}) or a folder ({name,
  // list: () => Promise<nodes>}). A walk lists a folder's entries in byte
  // order of their names and goes depth first, reading the files whose
  // extension is picked, as `vellmeta -r` does; files named one by one are
  // read whatever their name.

  const fileNode = (name, getFile) => ({ name, file: getFile });

  function entryNode(entry) {
    if (entry.isFile)
      return fileNode(entry.name, () => new Promise((resolve, reject) => entry.file(resolve, reject)));
    return {
      name: entry.name,
      list: async () => {
        const reader = entry.createReader();
        const entries = [];
        // A reader hands the entries over a batch at a time, then none.
        for (;;) {
          const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
          if (batch.length === 0) break;
          entries.push(...batch);
        }
        return entries.map(entryNode);
      },
    };
  }

  // The files of a chosen folder arrive as one list with their paths in it
  // (webkitRelativePath): they are put back into their folders.
  function folderTree(files) {
    const roots = new Map();
    for (const file of files) {
      const parts = file.webkitRelativePath ? file.webkitRelativePath.split('/') : [file.name];
      let level = roots;
      for (const part of parts.slice(0, -1)) {
        if (!level.has(part)) level.set(part, { name: part, children: new Map() });
        level = level.get(part).children;
      }
      level.set(parts[parts.length - 1], fileNode(parts[parts.length - 1], () => Promise.resolve(file)));
    }
    const toNode = (item) => (item.children
      ? { name: item.name, list: () => Promise.resolve(Array.from(item.children.values(), toNode)) }
      : item);
    return Array.from(roots.values(), toNode);
  }

  // Runs at most `count` of the works given at once.
  function limited(count) {
    let running = 0;
    const waiting = [];
    const next = () => {
      if (running >= count || waiting.length === 0) return;
      ++running;
      const [work, resolve, reject] = waiting.shift();
      work().then(resolve, reject).finally(() => { --running; next(); });
    };
    return (work) => new Promise((resolve, reject) => { waiting.push([work, resolve, reject]); next(); });
  }

  // Walks the nodes dropped, calling `found` with each input in order: {path,
  // node} for a file to read, or {path, problem} / {path, note}, a line of
  // its own.
  async function walk(nodes, found) {
    const listing = (node) => node.list().then((children) => ({ children }), () => ({ failed: true }));

    async function folder(path, listed) {
      const { children, failed } = await listed;
      if (failed) {
        found({ path, problem: lib.ClipSet.unreadableFolderProblem() });
        return;
      }
      const sorted = lib.ClipSet.byteOrder(children.map((child) => child.name)).map((i) => children[i]);
      // Its folders are listed all at once, while the walk goes through the
      // first: the walk then keeps ahead of the reads.
      const listings = sorted.map((child) => (child.list ? listing(child) : null));
      for (const [i, child] of sorted.entries()) {
        const childPath = path + '/' + child.name;
        if (child.list) await folder(childPath, listings[i]);
        else if (clips.picks(child.name)) found({ path: childPath, node: child });
        else found({ path: childPath, note: clips.skippedNote() });
      }
    }

    for (const node of nodes) {
      if (node.list) await folder(node.name, listing(node));
      else found({ path: node.name, node });
    }
  }

  // Reads the headers of a run of inputs: each file's File first, then the
  // first headerSize bytes of all of them in one read (a Blob of their
  // slices), which costs the browser less than a read per file; a file
  // costs one slice however long it is. When the run's read fails (a file
  // changed or vanished since), each file is read on its own. Gives each
  // input's outcome: {header}, {problem} or {note}.
  async function readRun(run) {
    const size = lib.headerSize();
    const outcomes = await Promise.all(run.map(async (input) => {
      if (!input.node) return input;
      try {
        const file = await input.node.file();
        const problem = lib.ClipSet.sizeProblem(file.size);
        return problem ? { problem } : { file };
      } catch (e) {
        return { problem: lib.ClipSet.unreadableProblem() };
      }
    }));
    const files = outcomes.filter((outcome) => outcome.file);
    try {
      const bytes = new Uint8Array(await new Blob(files.map(({ file }) => file.slice(0, size))).arrayBuffer());
      if (bytes.length !== files.length * size) throw new Error('a file changed while it was read');
      files.forEach((outcome, i) => { outcome.header = bytes.subarray(i * size, (i + 1) * size); });
    } catch (e) {
      await Promise.all(files.map(async (outcome) => {
        try {
          outcome.header = new Uint8Array(await outcome.file.slice(0, size).arrayBuffer());
        } catch (e2) {
          outcome.problem = lib.ClipSet.unreadableProblem();
        }
      }));
    }
    return outcomes;
  }

  // ---- a drop: walk, read, decode, show ------------------------------------
  //
  // The walk, the reads and the table go on together: runs of inputs are
  // read as the walk finds them, a few at once, and their clips join the
  // table in the walk's order as each run is read, so the first rows show
  // while the rest of a card is still being read.

  const runLength = 64; // inputs read in one go
  const firstRunLength = 16; // the first run short, so that the table shows soon
  const runsAtOnce = 4;
  let drops = 0;
  async function show(nodes, startedAt) {
    const drop = ++drops;
    await page.ready;
    if (extensionsProblem) {
      $('status').textContent = 'Nothing read: ' + extensionsProblem + '.';
      return;
    }
    $('status').textContent = 'Reading…';
    clips.clear();
    resetTable();
    showLines([]);
    enableSaves(false);
    const times = { startedAt, pageMs: 0 }; // pageMs: decoding the runs read and taking their rows

    const read = limited(runsAtOnce);
    const runs = [];
    let pending = [];
    let walkEnded = false;
    let wake = null; // the loop below waits for a run or the walk's end
    const notify = () => { if (wake) wake(); wake = null; };
    const startRun = () => {
      const run = pending;
      pending = [];
      runs.push(read(() => readRun(run)).then((outcomes) => ({ run, outcomes })));
      notify();
    };
    walk(nodes, (input) => {
      pending.push(input);
      if (pending.length === (runs.length === 0 ? firstRunLength : runLength)) startRun();
    }).then(() => {
      if (pending.length > 0) startRun();
      times.walkedAt = performance.now();
      walkEnded = true;
      notify();
    });

    const lines = [];
    let runsDone = 0;
    for (;;) {
      if (runsDone === runs.length) {
        if (walkEnded) break;
        await new Promise((resolve) => { wake = resolve; });
        continue;
      }
      const { run, outcomes } = await runs[runsDone++];
      if (drop !== drops) return;
      const runReadAt = performance.now();
      const from = clips.size();
      for (const [i, outcome] of outcomes.entries()) {
        const path = run[i].path;
        if (outcome.header && clips.add(path, outcome.header)) continue;
        lines.push({ path, problem: outcome.problem || (outcome.header && lib.ClipSet.sizeProblem(outcome.header.length)), note: outcome.note });
      }
      appendRows(from, clips.size());
      times.pageMs += performance.now() - runReadAt;
      if (times.tableShownAt === undefined && clips.size() > 0) {
        showTable(true);
        await painted();
        times.tableShownAt = performance.now();
      } else {
        refreshTable();
      }
      $('status').textContent = 'Reading… ' + clips.size() + (clips.size() === 1 ? ' clip' : ' clips') + ' so far.';
    }
    if (drop !== drops) return;
    times.readAt = performance.now();
    showLines(lines);
    showTable(false);
    enableSaves(clips.size() > 0);
    $('status').textContent = clips.size() + (clips.size() === 1 ? ' clip' : ' clips') + ' decoded in this page.';
    if (clips.size() === 1) openClip(0);
    sortInBackground(drop);
    await painted();
    const doneAt = performance.now();
    page.lastShown = { clips: clips.size(), lines: lines.length, ...times, tableShownAt: times.tableShownAt ?? doneAt, doneAt };
  }

  // One line per file skipped or not read, in the order of the walk.
  function showLines(lines) {
    const list = $('problems');
    list.replaceChildren(...lines.map(({ path, problem, note }) => {
      const item = el('li', undefined, problem ? 'problem' : 'note');
      item.append(el('span', path, 'file'), el('span', problem || note, 'message'));
      return item;
    }));
    const problems = lines.filter((line) => line.problem).length;
    const skipped = lines.length - problems;
    const section = $('problems-section');
    section.hidden = lines.length === 0;
    section.open = problems > 0;
    $('problems-summary').textContent = [
      problems ? problems + (problems === 1 ? ' file' : ' files') + ' not read' : '',
      skipped ? skipped + (skipped === 1 ? ' file' : ' files') + ' skipped' : '',
    ].filter(Boolean).join(', ');
  }

  // ---- the clip table --------------------------------------------------------
  //
  // Every clip's cells and sort keys are kept; only the rows in sight are in
  // the document, so a card of thousands of clips scrolls, sorts and
  // filters at once.

  const table = {
    cells: [],        // per clip, its cells
    search: [],       // per clip, its cells in lower case, for the filter
    keys: null,       // Float64Array: per clip and column, its sort key (NaN: by text, or none)
    ranks: new Map(), // column → Float64Array: per clip, the place of its text in the column
    orders: new Map(), // column → {order, keys}: every clip in ascending order of the column
    order: null,      // Int32Array: every clip, in the order of the sort
    view: null,       // Int32Array: the clips shown, filtered, in that order
    sortColumn: -1,   // -1: the order of the walk
    descending: false,
    active: 0,        // position in view of the chosen row
    selected: [],     // ticked clips, at most two, oldest first
    opened: -1,       // the clip whose view is open
    rowHeight: 0,
  };
  const chunk = 500; // clips' rows asked of the library at a time

  function resetTable() {
    table.cells = [];
    table.search = [];
    table.keys = new Float64Array(1024 * columns.length);
    table.ranks.clear();
    table.orders.clear();
    table.sortColumn = -1;
    table.selected = [];
    table.opened = -1;
    $('filter').value = '';
    markSort();
    sortOrder();
    filterView();
  }

  // Takes the rows of clips `from` to `to` (not included) from the library.
  function appendRows(from, to) {
    const width = columns.length;
    if (table.keys.length < to * width) {
      const keys = new Float64Array(Math.max(to, 2 * table.keys.length / width) * width);
      keys.set(table.keys);
      table.keys = keys;
    }
    for (let start = from; start < to; start += chunk) {
      const rows = clips.rows(start, Math.min(to, start + chunk));
      table.keys.set(rows.keys, start * width);
      for (const row of JSON.parse(rows.cells)) {
        table.cells.push(row);
        table.search.push(row.join('\n').toLowerCase());
      }
    }
    table.ranks.clear();
    table.orders.clear();
  }

  // All rows again, from the library (another colour space).
  function loadTable() {
    const count = table.cells.length;
    table.cells = [];
    table.search = [];
    appendRows(0, count);
    showTable(false);
  }

  // The order, the filter and the rows in sight, after rows joined.
  let refreshQueued = false;
  function refreshTable() {
    if (refreshQueued) return;
    refreshQueued = true;
    requestAnimationFrame(() => {
      refreshQueued = false;
      showTable(false);
    });
  }

  function buildHead() {
    const head = $('table-head');
    const tick = el('th', undefined, 'tick');
    tick.append(el('span', 'Compare', 'visually-hidden'));
    head.replaceChildren(tick, ...columns.map((column, c) => {
      const th = el('th');
      th.dataset.kind = column.kind;
      const button = el('button', column.label);
      button.type = 'button';
      button.title = 'Sort by ' + column.label.toLowerCase();
      button.addEventListener('click', () => sortBy(c));
      th.append(button);
      return th;
    }));
  }

  // Widths of the columns, from their labels and the texts of the first
  // rows, set once per drop: the rows drawn as the table scrolls then keep
  // the columns where they are (and the browser lays out only those rows).
  function fitColumns() {
    const sample = table.cells.slice(0, 500);
    let total = 0;
    const ths = Array.from($('table-head').children).slice(1);
    for (const [c, th] of ths.entries()) {
      const longest = sample.reduce((most, row) => Math.max(most, row[c].length), 0);
      const width = Math.min(32, Math.max(6, Math.ceil(columns[c].label.length * 0.9) + 2, longest + 1));
      th.style.width = width + 'ch';
      total += width;
    }
    $('clip-table').style.width = `calc(${total}ch + ${ths.length * 1.2 + 2}rem)`;
  }

  // The place of each clip's text in column `c`, in the order people read
  // texts (numbers within them by value); empty cells last. Each distinct
  // text is placed once: a card's column holds a few lenses or looks over
  // thousands of clips.
  const collator = new Intl.Collator(undefined, { numeric: true, sensitivity: 'base' });
  function ranksOf(c) {
    if (table.ranks.has(c)) return table.ranks.get(c);
    const places = new Map();
    for (const row of table.cells) places.set(row[c], 0);
    const texts = Array.from(places.keys()).sort(collator.compare);
    let rank = 0;
    for (const [i, text] of texts.entries()) {
      if (i > 0 && collator.compare(texts[i - 1], text) !== 0) rank = i;
      places.set(text, text === '' ? NaN : rank);
    }
    const ranks = Float64Array.from(table.cells, (row) => places.get(row[c]));
    table.ranks.set(c, ranks);
    return ranks;
  }

  // Once a drop is read, each column's order is worked out, a column at a
  // time between other work, so that a click on a column's name only has
  // to draw the rows.
  function sortInBackground(drop) {
    const pending = columns.map((column, c) => c);
    const next = () => {
      if (drop !== drops || pending.length === 0) return;
      ascendingOrder(pending.shift());
      setTimeout(next, 0);
    };
    setTimeout(next, 0);
  }

  // Every clip in ascending order of column `c`: numbers and time codes by
  // their value, texts as they read; clips without a value last; equal ones
  // in the order of the walk. Kept until rows join the table.
  function ascendingOrder(c) {
    if (table.orders.has(c)) return table.orders.get(c);
    const count = table.cells.length;
    const width = columns.length;
    const keys = columns[c].kind === 'text' ? ranksOf(c)
      : Float64Array.from({ length: count }, (_, i) => table.keys[i * width + c]);
    const order = Int32Array.from({ length: count }, (_, i) => i);
    order.sort((a, b) => {
      const x = keys[a];
      const y = keys[b];
      if (x < y) return -1;
      if (x > y) return 1;
      if (x === y || (x !== x && y !== y)) return a - b; // equal, or both without a value
      return x !== x ? 1 : -1; // NaN: without a value, last
    });
    const sorted = { order, keys };
    table.orders.set(c, sorted);
    return sorted;
  }

  // The clips in the order of the sort column, or of the walk. Descending:
  // the runs of equal values in reverse, each still in the order of the
  // walk, and the clips without a value still last.
  function sortOrder() {
    const count = table.cells.length;
    const c = table.sortColumn;
    if (c < 0) {
      table.order = Int32Array.from({ length: count }, (_, i) => i);
      return;
    }
    const { order, keys } = ascendingOrder(c);
    if (!table.descending) {
      table.order = order;
      return;
    }
    const same = (i, j) => keys[order[i]] === keys[order[j]];
    let valued = count;
    while (valued > 0 && Number.isNaN(keys[order[valued - 1]])) --valued;
    const reversed = new Int32Array(count);
    let at = 0;
    for (let end = valued; end > 0;) {
      let start = end - 1;
      while (start > 0 && same(start - 1, end - 1)) --start;
      reversed.set(order.subarray(start, end), at);
      at += end - start;
      end = start;
    }
    reversed.set(order.subarray(valued), at);
    table.order = reversed;
  }

  function filterView() {
    const wanted = $('filter').value.trim().toLowerCase();
    table.view = wanted === '' ? table.order : table.order.filter((clip) => table.search[clip].includes(wanted));
    table.active = Math.min(table.active, Math.max(0, table.view.length - 1));
  }

  function sortBy(c) {
    const startedAt = performance.now();
    // Ascending, descending, then back to the order of the walk.
    if (table.sortColumn !== c) {
      table.sortColumn = c;
      table.descending = false;
    } else if (!table.descending) {
      table.descending = true;
    } else {
      table.sortColumn = -1;
    }
    const activeClip = table.view.length ? table.view[table.active] : -1;
    sortOrder();
    filterView();
    const place = table.view.indexOf(activeClip);
    table.active = place >= 0 ? place : 0;
    markSort();
    renderRows();
    timeChange('sort', startedAt);
  }

  function markSort() {
    for (const [i, th] of Array.from($('table-head').children).slice(1).entries())
      th.setAttribute('aria-sort', i !== table.sortColumn ? 'none' : table.descending ? 'descending' : 'ascending');
  }

  function timeChange(what, startedAt) {
    const doneAt = performance.now();
    painted().then(() => {
      page.lastTableChange = { what, rows: table.view.length, ms: doneAt - startedAt, paintedMs: performance.now() - startedAt };
    });
  }

  // The table, and the diff and clip's view that it leads to; `first`: the
  // first rows of a drop, shown from the top.
  function showTable(first) {
    const count = clips.size();
    $('table-section').hidden = count === 0;
    if (first) {
      $('table-scroll').scrollTop = 0;
      table.active = 0;
      fitColumns();
    }
    const activeClip = table.view.length ? table.view[table.active] : -1;
    sortOrder();
    filterView();
    const place = table.view.indexOf(activeClip);
    table.active = place >= 0 ? place : table.active;
    renderRows();
    showDiff();
    if (table.opened < 0) closeClip();
  }

  function enableSaves(enabled) {
    for (const id of ['save-json', 'save-jsonl', 'save-csv', 'save-opentrackio']) $(id).disabled = !enabled;
  }


  // The rows in sight, and spacers above and below them that hold the
  // place of the others.
  let renderQueued = false;
  function renderRows() {
    renderQueued = false;
    const scroll = $('table-scroll');
    const body = $('table-body');
    const view = table.view;
    $('row-count').textContent = view.length === table.cells.length
      ? view.length + (view.length === 1 ? ' clip' : ' clips')
      : view.length + ' of ' + table.cells.length + ' clips';
    $('clip-table').setAttribute('aria-rowcount', String(view.length + 1));
    if (!table.rowHeight && view.length > 0) {
      body.replaceChildren(rowElement(0));
      table.rowHeight = body.firstChild.getBoundingClientRect().height || 28;
    }
    const height = table.rowHeight || 28;
    const headHeight = $('table-head').getBoundingClientRect().height;
    const inSight = Math.ceil(Math.max(scroll.clientHeight, 200) / height);
    const first = Math.max(0, Math.floor(Math.max(0, scroll.scrollTop - headHeight) / height) - 10);
    const last = Math.min(view.length, first + inSight + 20);
    const rows = [];
    if (first > 0) rows.push(spacer(first * height));
    for (let place = first; place < last; ++place) rows.push(rowElement(place));
    if (last < view.length) rows.push(spacer((view.length - last) * height));
    body.replaceChildren(...rows);
  }

  function spacer(height) {
    const row = el('tr', undefined, 'spacer');
    row.setAttribute('aria-hidden', 'true');
    const cell = el('td');
    cell.colSpan = columns.length + 1;
    cell.style.height = height + 'px';
    row.append(cell);
    return row;
  }

  function rowElement(place) {
    const clip = table.view[place];
    const row = el('tr');
    row.dataset.place = String(place);
    row.setAttribute('aria-rowindex', String(place + 2));
    const ticked = table.selected.includes(clip);
    row.setAttribute('aria-selected', String(ticked));
    if (place === table.active) {
      row.id = 'active-row';
      row.classList.add('active');
    }
    if (clip === table.opened) row.classList.add('opened');
    if (ticked) row.classList.add('ticked');
    const tick = el('td', undefined, 'tick');
    const box = el('input');
    box.type = 'checkbox';
    box.tabIndex = -1;
    box.checked = ticked;
    box.setAttribute('aria-label', 'Compare');
    tick.append(box);
    row.append(tick);
    for (const [c, text] of table.cells[clip].entries()) {
      const cell = el('td', text);
      if (columns[c].kind !== 'text') cell.className = 'number';
      if (text.length > 24) cell.title = text;
      row.append(cell);
    }
    return row;
  }

  function scrollToActive() {
    const scroll = $('table-scroll');
    const height = table.rowHeight || 28;
    const headHeight = $('table-head').getBoundingClientRect().height;
    const top = headHeight + table.active * height;
    if (top - headHeight < scroll.scrollTop) scroll.scrollTop = top - headHeight;
    else if (top + height > scroll.scrollTop + scroll.clientHeight) scroll.scrollTop = top + height - scroll.clientHeight;
    renderRows();
    const scrollBox = $('table-scroll');
    scrollBox.setAttribute('aria-activedescendant', 'active-row');
  }

  function toggleTick(clip) {
    const at = table.selected.indexOf(clip);
    if (at >= 0) table.selected.splice(at, 1);
    else {
      table.selected.push(clip);
      if (table.selected.length > 2) table.selected.shift();
    }
    renderRows();
    showDiff();
  }

  $('table-body').addEventListener('click', (event) => {
    const row = event.target.closest('tr[data-place]');
    if (!row) return;
    const place = Number(row.dataset.place);
    const clip = table.view[place];
    table.active = place;
    if (event.target.closest('td.tick')) toggleTick(clip);
    else openClip(clip);
    $('table-scroll').focus({ preventScroll: true });
  });

  $('table-scroll').addEventListener('scroll', () => {
    if (!renderQueued) {
      renderQueued = true;
      requestAnimationFrame(renderRows);
    }
  });

  $('table-scroll').addEventListener('keydown', (event) => {
    if (event.target !== event.currentTarget || table.view.length === 0) return;
    const inSight = Math.max(1, Math.floor($('table-scroll').clientHeight / (table.rowHeight || 28)) - 2);
    const moves = { ArrowDown: 1, ArrowUp: -1, PageDown: inSight, PageUp: -inSight };
    const last = table.view.length - 1;
    if (event.key in moves) table.active = Math.min(last, Math.max(0, table.active + moves[event.key]));
    else if (event.key === 'Home') table.active = 0;
    else if (event.key === 'End') table.active = last;
    else if (event.key === 'Enter') openClip(table.view[table.active]);
    else if (event.key === ' ') toggleTick(table.view[table.active]);
    else return;
    event.preventDefault();
    scrollToActive();
  });

  $('filter').addEventListener('input', () => {
    const startedAt = performance.now();
    filterView();
    $('table-scroll').scrollTop = 0;
    renderRows();
    timeChange('filter', startedAt);
  });

  // ---- one clip's view, built when it is opened ------------------------------

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

  function openClip(clip) {
    table.opened = clip;
    $('clips').replaceChildren(clipSection(JSON.parse(clips.clipView(clip))));
    $('clip-section').hidden = false;
    applySearch();
    renderRows();
  }

  function closeClip() {
    table.opened = -1;
    $('clips').replaceChildren();
    $('clip-section').hidden = true;
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

  // ---- the diff of two ticked clips -------------------------------------------

  const comparisonWords = { differs: 'differs', onlyInA: 'only in the first', onlyInB: 'only in the second', equal: 'equal' };

  function showDiff() {
    const section = $('diff');
    if (table.selected.length !== 2) {
      section.hidden = true;
      section.replaceChildren();
      return;
    }
    const showEqual = section.querySelector('#diff-all')?.checked || false;
    const diff = JSON.parse(clips.diff(table.selected[0], table.selected[1], showEqual));
    const title = el('h2', 'What differs');
    const names = el('p', undefined, 'diff-names');
    names.append(el('span', 'First: ', 'muted'), el('span', diff.a, 'file'), el('br'),
      el('span', 'Second: ', 'muted'), el('span', diff.b, 'file'));
    const all = el('label', undefined, 'diff-all');
    const box = el('input');
    box.type = 'checkbox';
    box.id = 'diff-all';
    box.checked = showEqual;
    box.addEventListener('change', showDiff);
    all.append(box, ' equal fields too');
    const parts = [title, names, all];
    if (!diff.differs) parts.push(el('p', 'No field differs.', 'muted'));
    if (diff.fields.length > 0) {
      const list = el('table', undefined, 'diff-table');
      const head = el('tr');
      head.append(el('th', 'Field'), el('th', 'First'), el('th', 'Second'));
      const body = el('tbody');
      for (const field of diff.fields) {
        const row = el('tr', undefined, field.comparison);
        const label = el('th', field.label);
        label.scope = 'row';
        label.title = field.name;
        label.append(el('span', comparisonWords[field.comparison], 'comparison'));
        row.append(label, el('td', field.a), el('td', field.b));
        body.append(row);
      }
      const thead = el('thead');
      thead.append(head);
      list.append(thead, body);
      parts.push(list);
    }
    const close = el('button', 'Clear the ticks');
    close.type = 'button';
    close.addEventListener('click', () => { table.selected = []; renderRows(); showDiff(); });
    parts.push(close);
    section.replaceChildren(...parts);
    section.hidden = false;
  }

  // ---- saves, options, inputs ---------------------------------------------------

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

  let extensionsProblem = '';
  function applyExtensions() {
    extensionsProblem = clips.setExtensions($('extensions').value);
    $('extensions-problem').textContent = extensionsProblem;
    $('extensions').setAttribute('aria-invalid', String(extensionsProblem !== ''));
  }

  // Folders dropped on the page show up as entries, not as files; the
  // entries must be taken while the drop event lasts.
  function droppedNodes(dataTransfer) {
    const items = dataTransfer.items ? Array.from(dataTransfer.items) : [];
    if (items.length > 0 && typeof items[0].webkitGetAsEntry === 'function') {
      const nodes = [];
      for (const item of items) {
        if (item.kind !== 'file') continue;
        const entry = item.webkitGetAsEntry();
        if (entry) nodes.push(entryNode(entry));
      }
      return nodes;
    }
    return Array.from(dataTransfer.files, (file) => fileNode(file.name, () => Promise.resolve(file)));
  }

  $('files').addEventListener('change', (event) => {
    const startedAt = performance.now();
    show(Array.from(event.target.files, (file) => fileNode(file.name, () => Promise.resolve(file))), startedAt);
  });
  $('folder').addEventListener('change', (event) => {
    const startedAt = performance.now();
    show(folderTree(Array.from(event.target.files)), startedAt);
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
    show(droppedNodes(event.dataTransfer), startedAt);
  });

  $('search').addEventListener('input', applySearch);
  $('extensions').addEventListener('input', async () => {
    await page.ready;
    applyExtensions();
  });
  $('color-space').addEventListener('change', async (event) => {
    await page.ready;
    clips.setColorSpace(event.target.value);
    const opened = table.opened;
    loadTable();
    if (opened >= 0) openClip(opened);
    page.colorSpaceApplied = event.target.value;
  });
  $('save-json').addEventListener('click', () => save('json', 'vellmeta.json', 'application/json'));
  $('save-jsonl').addEventListener('click', () => save('jsonl', 'vellmeta.jsonl', 'application/jsonl'));
  $('save-csv').addEventListener('click', () => save('csv', 'vellmeta.csv', 'text/csv'));
  $('save-opentrackio').addEventListener('click', () => save('opentrackio', 'vellmeta.opentrackio.json', 'application/json'));
})();
