// SPDX-License-Identifier: Apache-2.0
// The package in browsers and bundles for them: readHeader() takes a File or
// a Blob.
import { readHeaderWith } from './vellmeta.mjs';

export { createVellmeta } from './vellmeta.mjs';
export const readHeader = readHeaderWith(null);
