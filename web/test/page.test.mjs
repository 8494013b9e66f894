// SPDX-License-Identifier: Apache-2.0
// The page in a real browser: Debian's Chromium, headless, driven through
// puppeteer-core. It loads the page from a local static server, picks the
// sample clips (and a short, an empty and a composed clip), and checks what
// the page shows and saves against the command-line tool for the same
// files; it also times 100 clips and saves docs/images/page.png.
//
//   node web/test/page.test.mjs [path/to/vellmeta]
//
// The tool defaults to $VELLMETA, then build/tools/vellmeta/vellmeta.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const webDir = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const root = path.dirname(webDir);
const vellmeta = path.resolve(process.argv[2] || process.env.VELLMETA || path.join(root, 'build/tools/vellmeta/vellmeta'));
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
const headerSize = 2480;

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vellmeta-page-'));
const clipsDir = path.join(work, 'clips');
const manyDir = path.join(work, 'many');
const downloads = path.join(work, 'downloads');

// A production text (32 bytes at offset 1304, copied as it is) that would
// be markup if the page ever inserted header text as HTML.
const markupText = '<script>alert(1)</script>';

function prepareClips() {
  fs.mkdirSync(clipsDir);
  fs.mkdirSync(manyDir);
  fs.mkdirSync(downloads);
  const samples = [];
  for (const dir of ['samples', 'samples/failures'])
    for (const name of fs.readdirSync(path.join(root, dir)).sort())
      if (name.endsWith('.vellraw')) samples.push(path.join(root, dir, name));
  const names = [];
  for (const sample of samples) {
    fs.copyFileSync(sample, path.join(clipsDir, path.basename(sample)));
    names.push(path.basename(sample));
  }
  const compact = fs.readFileSync(path.join(root, 'samples/corva-compact.vellraw'));
  const marked = Buffer.from(compact);
  marked.fill(0, 1304, 1304 + 32);
  marked.write(markupText, 1304, 'latin1');
  fs.writeFileSync(path.join(clipsDir, 'markup-in-text.vellraw'), marked);
  fs.writeFileSync(path.join(clipsDir, 'short.vellraw'), compact.subarray(0, 100));
  fs.writeFileSync(path.join(clipsDir, 'empty.vellraw'), Buffer.alloc(0));
  fs.writeFileSync(path.join(clipsDir, 'notes.txt'), 'Not a clip: notes from the set.\n'.repeat(100));
  fs.mkdirSync(path.join(clipsDir, 'folder'));
  names.push('markup-in-text.vellraw', 'short.vellraw', 'empty.vellraw', 'notes.txt');
  for (let i = 0; i < 100; ++i) {
    const sample = samples[i % samples.length];
    fs.copyFileSync(sample, path.join(manyDir, `clip-${String(i).padStart(3, '0')}.vellraw`));
  }
  return names;
}

// The tool run inside the folder on bare file names, as the page names a
// dropped file by its name alone.
function tool(args, names, cwd = clipsDir) {
  const run = spawnSync(vellmeta, [...args, ...names], { cwd, encoding: 'buffer' });
  assert.ok(run.status !== null && run.status <= 2, `vellmeta ${args.join(' ')} ran (status ${run.status})`);
  return { out: run.stdout, err: run.stderr.toString('utf8') };
}

// Serves web/ on 127.0.0.1 and a free port, and counts what it served.
function startServer() {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.png': 'image/png' };
  const served = [];
  const server = http.createServer((request, response) => {
    served.push(request.url);
    const wanted = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(webDir, wanted === '/' ? 'index.html' : wanted);
    if (!file.startsWith(webDir + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({ server, served })));
}

let names, server, served, browser, page, cdp;
const requestsAfterLoad = [];
const consoleErrors = []; // a blocked request shows up here too

async function pick(dir, files) {
  await page.evaluate(() => { window.vellmetaPage.lastShown = null; });
  const input = await page.$('#files');
  await input.evaluate((element) => { element.value = ''; }); // the same files again still count as a change
  await input.uploadFile(...files.map((name) => path.join(dir, name)));
  await page.waitForFunction(() => window.vellmetaPage.lastShown !== null, { timeout: 60000 });
  return page.evaluate(() => window.vellmetaPage.lastShown);
}

async function download(buttonId, fileName) {
  const target = path.join(downloads, fileName);
  fs.rmSync(target, { force: true });
  await page.click(buttonId);
  for (let i = 0; i < 200 && !fs.existsSync(target); ++i) await new Promise((r) => setTimeout(r, 50));
  assert.ok(fs.existsSync(target), `${fileName} was saved`);
  return fs.readFileSync(target);
}

before(async () => {
  assert.ok(fs.existsSync(path.join(webDir, 'dist/vellmeta.js')), 'web/dist/vellmeta.js is built (web/build)');
  assert.ok(fs.existsSync(vellmeta), `the command-line tool is at ${vellmeta}`);
  names = prepareClips();
  ({ server, served } = await startServer());
  browser = await puppeteer.launch({
    executablePath: chromium,
    headless: false, // the flags below ask for it
    userDataDir: path.join(work, 'profile'),
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  page = await browser.newPage();
  await page.setViewport({ width: 1400, height: 1000 });
  cdp = await browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => { if (message.type() === 'error') consoleErrors.push(message.text().slice(0, 200)); });
  await page.goto(`http://127.0.0.1:${server.address().port}/`, { waitUntil: 'load' });
  await page.evaluate(() => window.vellmetaPage.ready);
  assert.deepEqual(errors, [], 'the page loads without script errors');
  page.on('request', (request) => requestsAfterLoad.push(request.url()));
  served.length = 0;
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
  fs.rmSync(work, { recursive: true, force: true });
});

test('the samples: shown values, messages, saved JSON and CSV as the tool writes them', async () => {
  const shown = await pick(clipsDir, names);
  const decodable = names.filter((n) => !['short.vellraw', 'empty.vellraw'].includes(n));
  assert.ok(decodable.includes('notes.txt'), 'a file of another kind is decoded too: its result tells');
  assert.equal(shown.clips, decodable.length);
  assert.equal(shown.problems, 2);

  // What the page shows, written out as the tool's text view is, equals it
  // clip by clip; every field shown is one the tool's JSON defines.
  const json = tool(['--json'], names);
  const entries = JSON.parse(json.out.toString('utf8'));
  const text = tool([], names).out.toString('utf8');
  const views = await page.$$eval('#clips .clip', (sections) => sections.map((section) => ({
    lines: [section.querySelector('h2').textContent].concat(...Array.from(section.querySelectorAll('.group'),
      (group) => ['  ' + group.querySelector('h3').textContent].concat(Array.from(group.querySelectorAll('.field'),
        (row) => `    ${row.firstChild.textContent}:${row.lastChild.textContent ? ' ' : ''}${row.lastChild.textContent}`)))),
    names: Array.from(section.querySelectorAll('.group:not(.result) dt'), (dt) => dt.title),
    failed: section.classList.contains('failed'),
  })));
  assert.equal(views.map((v) => v.lines.join('\n') + '\n').join('\n'), text, 'the page shows what vellmeta shows');
  assert.equal(views.length, entries.length);
  for (const [i, view] of views.entries()) {
    for (const name of view.names)
      assert.ok(name in entries[i].fields, `${entries[i].path}: ${name} is defined in the tool's JSON`);
    assert.equal(view.failed, entries[i].result.isError, `${entries[i].path}: failure marked`);
  }

  // Files the tool cannot read get its message in the page.
  const problems = await page.$$eval('#problems li', (items) => items.map((li) => [li.firstChild.textContent, li.lastChild.textContent]));
  for (const [name, problem] of problems)
    assert.ok(json.err.includes(`vellmeta: ${name}: ${problem}\n`), `${name}: the tool's message, "${problem}"`);
  assert.deepEqual(problems.map((p) => p[0]), ['short.vellraw', 'empty.vellraw']);

  assert.ok((await download('#save-json', 'vellmeta.json')).equals(json.out), 'saved JSON = vellmeta --json');
  const help = spawnSync(vellmeta, ['--help'], { encoding: 'utf8' }).stdout;
  if (help.includes('--csv')) {
    assert.ok((await download('#save-csv', 'vellmeta.csv')).equals(tool(['--csv'], names).out), 'saved CSV = vellmeta --csv');
  } else {
    console.log('# vellmeta has no --csv yet: saved CSV not compared');
  }

  // The header text holding markup is shown as text.
  const markup = await page.$$eval('#clips dd', (cells, text) => cells.filter((dd) => dd.textContent === text)
    .map((dd) => dd.children.length), markupText);
  assert.ok(markup.length >= 1, 'the markup text is shown as it is');
  assert.deepEqual(markup, markup.map(() => 0), 'and made no elements');
  assert.equal(await page.$$eval('body script', (s) => s.length), 2, 'no script element was added');

  const table = await page.$$eval('#clip-table tbody tr', (rows) => rows.length);
  assert.equal(table, decodable.length, 'the table has a row per clip');

  await page.screenshot({ path: path.join(webDir, '..', 'docs', 'images', 'page.png') });
});

test('colour space and search: the primaries the tool gives for it, only the matching fields', async () => {
  await pick(clipsDir, names);
  await page.evaluate(() => { window.vellmetaPage.lastShown = null; });
  await page.select('#color-space', 'aces');
  await page.waitForFunction(() => window.vellmetaPage.lastShown !== null, { timeout: 60000 });
  assert.ok((await download('#save-json', 'vellmeta.json')).equals(tool(['--json', '--color-space', 'aces'], names).out),
    'saved JSON = vellmeta --json --color-space aces');

  await page.type('#search', 'lens');
  const rows = await page.$$eval('#clips .group:not(.result) .field', (fields) => fields.filter((f) => !f.hidden)
    .map((f) => (f.textContent + ' ' + f.firstChild.title).toLowerCase()));
  assert.ok(rows.length > 0 && rows.every((row) => row.includes('lens')), 'only fields that mention "lens" stay');
  assert.ok(await page.$$eval('#clips .result .field', (fields) => fields.every((f) => !f.hidden && f.offsetParent)),
    'every result stays in view');
  await page.$eval('#search', (input) => { input.value = ''; input.dispatchEvent(new Event('input')); });
  await page.select('#color-space', 'native');
});

test('a folder dropped with a clip: its message, and the clip decoded', async () => {
  await page.evaluate(() => { window.vellmetaPage.lastShown = null; });
  const cdp = await page.createCDPSession();
  const box = await (await page.$('#drop')).boundingBox();
  const data = { items: [], files: [path.join(clipsDir, 'folder'), path.join(clipsDir, names[0])], dragOperationsMask: 1 };
  for (const type of ['dragEnter', 'dragOver', 'drop'])
    await cdp.send('Input.dispatchDragEvent', { type, x: box.x + box.width / 2, y: box.y + box.height / 2, data });
  await page.waitForFunction(() => window.vellmetaPage.lastShown !== null, { timeout: 60000 });
  const problems = await page.$$eval('#problems li', (items) => items.map((li) => [li.firstChild.textContent, li.lastChild.textContent]));
  assert.equal(problems.length, 1);
  assert.ok(tool([], ['folder']).err.includes(`vellmeta: ${problems[0][0]}: ${problems[0][1]}\n`), 'the tool\'s message for a folder');
  assert.deepEqual(await page.$$eval('#clips h2', (titles) => titles.map((h) => h.textContent)), [names[0]]);
});

test('100 clips: time from the drop to the table shown', async () => {
  const many = fs.readdirSync(manyDir).sort();
  const shown = await pick(manyDir, many);
  assert.equal(shown.clips, 100);
  assert.equal(await page.$$eval('#clip-table tbody tr', (rows) => rows.length), 100);
  const after = (time) => `${(time - shown.startedAt).toFixed(0)} ms`;
  console.log(`# 100 clips: table shown ${after(shown.tableShownAt)} after the drop (headers read ` +
    `${after(shown.readAt)}, decoded ${after(shown.decodedAt)}); every clip's view ${after(shown.shownAt)}`);
});

test('no request leaves the page after it has loaded', async () => {
  assert.deepEqual(requestsAfterLoad.filter((url) => !url.startsWith('blob:') && !url.startsWith('data:')), []);
  assert.deepEqual(served, [], 'the server was asked for nothing after load');
  assert.deepEqual(consoleErrors, [], 'nothing was blocked or failed');
});
