// SPDX-License-Identifier: Apache-2.0
// The npm package's figures, from the scratch project the package is
// installed in (js/test/run --bench runs it there): its size packed and
// unpacked, its load time in Node, and how many files a second it decodes
// into the JSON report against the native tool on the realistic card
// (generate_samples --shoot 5000: four cameras over the days of a shoot).
//
//   node npm-package.mjs TOOL GENERATE_SAMPLES TARBALL
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { performance } from 'node:perf_hooks';

const [tool, generate, tarball] = process.argv.slice(2);
const runs = 3;
const best = (times) => Math.min(...times);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

function sizeOf(dir) {
  return fs.readdirSync(dir, { withFileTypes: true }).reduce((sum, entry) => {
    const at = path.join(dir, entry.name);
    return sum + (entry.isDirectory() ? sizeOf(at) : fs.statSync(at).size);
  }, 0);
}
const kb = (bytes) => `${(bytes / 1024).toFixed(0)} KB`;
console.log(`bench: package ${path.basename(tarball)}: ${kb(fs.statSync(tarball).size)} packed, ` +
  `${kb(sizeOf('node_modules/vellmeta'))} unpacked`);

// Load time: a fresh Node each time, from the import to a decoder ready.
const loads = [];
for (let i = 0; i < 5; ++i) {
  loads.push(Number(execFileSync(process.execPath, ['--input-type=module', '-e',
    `const t = performance.now(); const { createVellmeta } = await import('vellmeta'); await createVellmeta();
     process.stdout.write(String(performance.now() - t));`])));
}
console.log(`bench: load in Node ${process.version} (import and createVellmeta()): ${median(loads).toFixed(0)} ms ` +
  `(median of 5 fresh processes)`);

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'vellmeta-bench-'));
try {
  execFileSync(generate, ['--shoot', '5000', path.join(work, 'card')]);
  process.chdir(work);
  // The files as vellmeta -r walks the card: depth first, names in byte order.
  const walk = (dir) => fs.readdirSync(dir, { withFileTypes: true })
    .sort((a, b) => Buffer.compare(Buffer.from(a.name), Buffer.from(b.name)))
    .flatMap((e) => (e.isDirectory() ? walk(`${dir}/${e.name}`) : e.name.toLowerCase().endsWith('.vellraw') ? [`${dir}/${e.name}`] : []));
  const files = walk('card');

  const toolTimes = [];
  let toolOut;
  for (let i = 0; i < runs; ++i) {
    const start = performance.now();
    toolOut = spawnSync(tool, ['-r', '--json', 'card'], { maxBuffer: 1 << 30 }).stdout;
    toolTimes.push(performance.now() - start);
  }

  const { createVellmeta, readHeader } = await import('vellmeta');
  const vm = await createVellmeta();
  const packageTimes = [];
  const decodeTimes = [];
  let report;
  for (let i = 0; i < runs; ++i) {
    const start = performance.now();
    const headers = [];
    for (let at = 0; at < files.length; at += 64) { // 64 files open at a time
      headers.push(...await Promise.all(files.slice(at, at + 64).map((file) => readHeader(file))));
    }
    const decodeStart = performance.now();
    const clips = headers.map((header, n) => vm.decode(header, { path: files[n] }));
    report = vm.report(clips, 'json');
    const end = performance.now();
    packageTimes.push(end - start);
    decodeTimes.push(end - decodeStart);
  }
  assert.deepEqual(Buffer.from(report), toolOut, 'the same JSON report as vellmeta -r --json');
  const rate = (ms) => Math.round(files.length / (ms / 1000)).toLocaleString('en');
  console.log(`bench: ${files.length} files of the realistic card into the JSON report (best of ${runs}):`);
  console.log(`bench:   native tool, vellmeta -r --json:     ${rate(best(toolTimes))} files/s (${best(toolTimes).toFixed(0)} ms, process start included)`);
  console.log(`bench:   package, readHeader+decode+report:  ${rate(best(packageTimes))} files/s (${best(packageTimes).toFixed(0)} ms)`);
  console.log(`bench:   package, decode+report of headers in memory: ${rate(best(decodeTimes))} decodes/s`);
} finally {
  fs.rmSync(work, { recursive: true, force: true });
}
