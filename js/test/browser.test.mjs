// SPDX-License-Identifier: Apache-2.0
// The packed vellmeta package in headless Chromium (js/test/run copies this
// file into the scratch project it was installed in): a page bundled by
// esbuild from npm, and a page that imports the package's ES module with no
// bundler, each decoding the samples into the JSON report the tool writes.
//
//   node browser.test.mjs TOOL PUPPETEER_DIR
// TOOL: the vellmeta tool of the same tree; PUPPETEER_DIR: a node_modules
// holding puppeteer-core (the page test's, web/node_modules).
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';

import * as esbuild from 'esbuild';

const [tool, puppeteerDir] = process.argv.slice(2);
const puppeteer = createRequire(path.join(path.resolve(puppeteerDir), 'x.js'))('puppeteer-core');
const root = process.cwd();

await esbuild.build({ entryPoints: ['page/main.mjs'], bundle: true, outfile: 'page/dist/main.js', logLevel: 'warning' });
console.log(`browser: esbuild bundled the page: ${fs.statSync('page/dist/main.js').size} bytes`);

const types = { '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript' };
const server = http.createServer((request, response) => {
  const file = path.join(root, decodeURIComponent(new URL(request.url, 'http://x').pathname));
  if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
  fs.createReadStream(file).pipe(response);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vellmeta-chromium-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: false, // the flags below ask for it
  userDataDir: profile,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const names = fs.readdirSync('samples').filter((n) => n.endsWith('.vellraw')).sort().map((n) => `samples/${n}`);
  for (const kind of ['bundled', 'plain']) {
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    page.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
    await page.goto(`http://127.0.0.1:${server.address().port}/page/${kind}.html`, { waitUntil: 'load' });
    await page.waitForFunction(() => typeof window.decodeFiles === 'function', { timeout: 60000 });
    for (const colorSpace of ['native', 'aces']) {
      const report = await page.evaluate((n, c) => window.decodeFiles(n, c), names, colorSpace);
      const expected = spawnSync(tool, ['--json', '--color-space', colorSpace, ...names]).stdout;
      assert.deepEqual(Buffer.from(report), expected, `${kind} page, ${colorSpace}`);
    }
    assert.deepEqual(errors, [], `${kind} page: no errors`);
    await page.close();
    console.log(`browser: the ${kind} page decodes the samples into the tool's JSON report`);
  }
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
