// SPDX-License-Identifier: Apache-2.0
// The package under Node: readHeader() also takes a path or a file: URL and
// reads the first 2480 bytes of the file, however large it is.
import { open } from 'node:fs/promises';

import { HEADER_SIZE, readHeaderWith } from './vellmeta.mjs';

export { createVellmeta } from './vellmeta.mjs';

async function readStart(path) {
  const file = await open(path, 'r');
  try {
    const header = new Uint8Array(HEADER_SIZE);
    let filled = 0;
    while (filled < HEADER_SIZE) {
      const { bytesRead } = await file.read(header, filled, HEADER_SIZE - filled, filled);
      if (bytesRead === 0) break;
      filled += bytesRead;
    }
    return filled < HEADER_SIZE ? header.slice(0, filled) : header;
  } finally {
    await file.close();
  }
}

export const readHeader = readHeaderWith(readStart);
