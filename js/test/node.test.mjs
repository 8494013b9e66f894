// SPDX-License-Identifier: Apache-2.0
// The packed vellmeta package under Node, installed into a scratch project
// (js/test/run copies this file there): every report byte for byte the
// tool's for the same files in each colour space, decoded values as the
// JSON view types them, the people's texts as the text view shows them,
// concurrent decodes equal to sequential ones, the CommonJS entry, the
// refusals, and `npx vellmeta`.
//
//   node node.test.mjs TOOL DIR
// TOOL: the vellmeta tool of the same tree; DIR: the folder the files are
// named from (it holds samples/ and shoot/).
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import { performance } from 'node:perf_hooks';

const [tool, dir] = process.argv.slice(2);
if (!tool || !dir) {
  console.error('usage: node node.test.mjs TOOL DIR');
  process.exit(2);
}
process.chdir(dir);

const started = performance.now();
const { createVellmeta, readHeader } = await import('vellmeta');
const vm = await createVellmeta();
console.log(`node: loaded and instantiated in ${(performance.now() - started).toFixed(1)} ms, in Node ${process.versions.node}`);

const colorSpaces = ['aces', 'native', 'wide'];
// The .vellraw files under a folder, depth first, each folder's entries in
// the order of their names.
const listed = (folder) => readdirSync(folder, { withFileTypes: true })
  .sort((a, b) => (a.name < b.name ? -1 : 1))
  .flatMap((entry) => {
    const path = `${folder}/${entry.name}`;
    if (entry.isDirectory()) return listed(path);
    return entry.name.endsWith('.vellraw') ? [path] : [];
  });
const samples = listed('samples');
const shoot = listed('shoot');
assert.ok(samples.length >= 6 && shoot.length === 2000, 'the samples and 2000 generated headers');

function runTool(args) {
  const run = spawnSync(tool, args, { maxBuffer: 1 << 30 });
  assert.ok(run.status === 0 || run.status === 1, `${tool} ${args.slice(0, 3).join(' ')} …: status ${run.status}`);
  return run.stdout;
}

const headers = new Map();
for (const path of [...samples, ...shoot]) headers.set(path, await readHeader(path));

// ---- every format, byte for byte the tool's ----
const toolOption = { json: ['--json'], jsonl: ['--json-lines'], csv: ['--csv'], tsv: ['--tsv'],
  opentrackio: ['--opentrackio'], text: [] };
for (const colorSpace of colorSpaces) {
  const decodeAll = (paths) => paths.map((path) => vm.decode(headers.get(path), { colorSpace, path }));
  const all = decodeAll([...samples, ...shoot]);
  assert.deepEqual(Buffer.from(vm.report(all, 'json')),
    runTool(['--json', '--color-space', colorSpace, ...samples, ...shoot]),
    `report json, ${colorSpace}: the samples and 2000 generated headers`);
  const some = decodeAll(samples);
  for (const [format, option] of Object.entries(toolOption)) {
    assert.deepEqual(Buffer.from(vm.report(some, format)), runTool([...option, '--color-space', colorSpace, ...samples]),
      `report ${format}, ${colorSpace}`);
  }
}
console.log(`node: reports byte for byte the tool's: ${samples.length} samples and ${shoot.length} generated headers, ` +
  `colour spaces ${colorSpaces.join(', ')}`);

// ---- decoded values: the JSON view's, typed; undefined where it has none ----
// JSON writes numbers that are not finite as strings.
function sameAsJson(value, json, where) {
  if (typeof value === 'number' && !Number.isFinite(value)) assert.equal(json, String(value), where);
  else if (Array.isArray(value) || (value && typeof value === 'object')) {
    assert.equal(typeof json, 'object', where);
    assert.deepEqual(Object.keys(value), Object.keys(json), where);
    for (const key of Object.keys(value)) sameAsJson(value[key], json[key], `${where}.${key}`);
  } else assert.equal(value, json, where);
}
const fields = vm.fields();
assert.equal(new Set(fields.map((f) => f.name)).size, fields.length);
let nonFinite = 0;
for (const path of [...samples, ...shoot.slice(0, 300)]) {
  const clip = vm.decode(headers.get(path), { path });
  const [entry] = JSON.parse(vm.report([clip], 'json'));
  assert.deepEqual(clip.result, entry.result, path);
  assert.equal(clip.path, path);
  for (const { name } of fields) {
    if (clip[name] === undefined) assert.ok(!(name in entry.fields), `${path} ${name} undefined`);
    else sameAsJson(clip[name], entry.fields[name], `${path} ${name}`);
    if (typeof clip[name] === 'number' && !Number.isFinite(clip[name])) ++nonFinite;
  }
  assert.deepEqual(Object.keys(clip).sort(), ['path', 'colorSpace', 'result', ...fields.map((f) => f.name)].sort(),
    `${path}: every field a member, undefined or not`);
}
console.log(`node: decoded values equal the JSON view's (${nonFinite} numbers that are not finite among them)`);

// ---- people's texts: each as the tool's text view shows the field ----
let shown = 0;
for (const path of samples) {
  const clip = vm.decode(headers.get(path), { path });
  const lines = new Set(runTool(['--all', path]).toString().split('\n'));
  for (const { name, label } of fields) {
    const text = vm.text(clip, name);
    if (text === undefined) {
      assert.equal(clip[name], undefined, `${path} ${name}: text only where defined`);
      continue;
    }
    const line = [...lines].find((l) => l.startsWith(`    ${label}: `));
    if (line === undefined) continue; // folded into another field's line (the tint)
    assert.equal(line, `    ${label}: ${text}`, `${path} ${name}`);
    ++shown;
  }
}
assert.ok(shown > 200, `${shown} texts compared`);
console.log(`node: ${shown} texts equal the text view's lines`);

// ---- 1,000 concurrent decodes from Promise.all equal sequential ones ----
const jobs = shoot.slice(0, 1000).map((path, i) => ({ path, colorSpace: colorSpaces[i % 3] }));
const sequential = jobs.map(({ path, colorSpace }) => vm.decode(headers.get(path), { colorSpace, path }));
const concurrent = await Promise.all(jobs.map(async ({ path, colorSpace }, i) => {
  const header = await readHeader(path); // each call waits on its own read
  await new Promise((resolve) => setTimeout(resolve, i % 5));
  return vm.decode(header, { colorSpace, path });
}));
assert.deepEqual(concurrent, sequential);
assert.equal(vm.report(concurrent, 'json'), vm.report(sequential, 'json'));
// Two instances at once keep apart too.
const [other] = await Promise.all([createVellmeta(), vm.decode(headers.get(samples[0]))]);
assert.deepEqual(other.decode(headers.get(samples[1])), vm.decode(headers.get(samples[1])));
console.log('node: 1000 concurrent decodes from Promise.all equal the sequential ones');

// ---- a clip owns its bytes; refusals ----
const buffer = new Uint8Array(3000);
buffer.set(headers.get(samples[0]), 10);
const offset = vm.decode(buffer.subarray(10), { path: 'x' });
const before = vm.report([offset], 'json');
buffer.fill(0);
assert.equal(vm.report([offset], 'json'), before, 'the clip keeps a copy of its header');
assert.deepEqual(vm.decode(headers.get(samples[0]).buffer.slice(0)), vm.decode(headers.get(samples[0])), 'an ArrayBuffer');
const refusals = [
  [() => vm.decode(new Uint8Array(1000)), RangeError, /1000 bytes long, shorter than the 2480-byte/],
  [() => vm.decode(headers.get(samples[0]), { colorSpace: 'srgb' }), RangeError, /colour space "srgb"/],
  [() => vm.decode('not bytes'), TypeError, /Uint8Array/],
  [() => vm.report([offset], 'xml'), RangeError, /report format "xml"/],
  [() => vm.report([{ ...offset }], 'json'), TypeError, /not a clip/],
  [() => vm.text(offset, 'noSuchField'), RangeError, /noSuchField/],
];
for (const [call, type, message] of refusals) assert.throws(call, (e) => e instanceof type && message.test(e.message));
await assert.rejects(readHeader(42), TypeError);
await assert.rejects(readHeader('no/such/file.vellraw'), /ENOENT/);
assert.equal((await readHeader(new Blob([new Uint8Array(5000)]))).length, 2480, 'a Blob');
assert.equal((await readHeader(new URL(`file://${process.cwd()}/${samples[0]}`))).length, 2480, 'a file: URL');
console.log('node: refusals and readHeader sources');

// ---- the CommonJS entry ----
const require = createRequire(`${process.cwd()}/`);
const cjs = require('vellmeta');
const viaRequire = await cjs.createVellmeta();
assert.deepEqual(viaRequire.decode(await cjs.readHeader(samples[0])), vm.decode(headers.get(samples[0])));
console.log('node: require("vellmeta") gives the same');

// ---- npx vellmeta: the JSON view of its arguments ----
for (const args of [samples, ['--color-space', 'aces', ...samples], [samples[0], 'samples', 'no/such.vellraw']]) {
  const npx = spawnSync('npx', ['--no-install', 'vellmeta', ...args], { maxBuffer: 1 << 26 });
  const expected = spawnSync(tool, ['--json', ...args]);
  assert.deepEqual(npx.stdout, expected.stdout, `npx vellmeta ${args.join(' ')}`);
  assert.equal(npx.status, expected.status, `npx vellmeta ${args.join(' ')}: status`);
}
console.log('node: npx vellmeta writes what vellmeta --json writes');
