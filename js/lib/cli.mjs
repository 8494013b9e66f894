#!/usr/bin/env node
// SPDX-License-Identifier: Apache-2.0
// npx vellmeta [--color-space aces|native|wide] FILE...
// Writes the JSON view of the files, the bytes `vellmeta --json` writes for
// them. A file that cannot be used gets a line on standard error. Exit
// status: 0, every file decoded; 1, a header failed to decode; 2, a file
// could not be used or the command line is wrong.
import { stat } from 'node:fs/promises';

import { createVellmeta, readHeader } from './node.mjs';

const usage = 'usage: vellmeta [--color-space aces|native|wide] FILE...';

async function main(args) {
  let colorSpace = 'native';
  const paths = [];
  for (let i = 0; i < args.length; ++i) {
    if (args[i] === '--color-space' && i + 1 < args.length) colorSpace = args[++i];
    else if (args[i].startsWith('--color-space=')) colorSpace = args[i].slice('--color-space='.length);
    else if (args[i] === '--') paths.push(...args.slice(i + 1)), (i = args.length);
    else if (args[i].startsWith('-') && args[i] !== '-') return fail(`${usage}\nvellmeta: unknown option ${args[i]}`);
    else paths.push(args[i]);
  }
  if (paths.length === 0) return fail(usage);

  const vm = await createVellmeta();
  const clips = [];
  let status = 0;
  for (const path of paths) {
    try {
      if ((await stat(path)).isDirectory()) throw new Error('is a directory, not a VELLRAW file');
      const clip = vm.decode(await readHeader(path), { colorSpace, path });
      if (clip.result.isError) status = Math.max(status, 1);
      clips.push(clip);
    } catch (error) {
      status = 2;
      // decode() says "header is 1000 bytes long, …"; the tool names the file instead.
      process.stderr.write(`vellmeta: ${path}: ${error.message.replace(/^header /, '')}\n`);
    }
  }
  process.stdout.write(vm.report(clips, 'json'));
  return status;
}

function fail(message) {
  process.stderr.write(`${message}\n`);
  return 2;
}

main(process.argv.slice(2)).then(
  (status) => { process.exitCode = status; },
  (error) => { process.stderr.write(`vellmeta: ${error.message}\n`); process.exitCode = 2; },
);
