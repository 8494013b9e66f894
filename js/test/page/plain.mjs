// SPDX-License-Identifier: Apache-2.0
// A page's script that imports the package's ES module as it is, by its path
// in node_modules, with no bundler.
import { createVellmeta, readHeader } from '../node_modules/vellmeta/lib/browser.mjs';
import { decodeFilesWith } from './decode-files.mjs';

window.decodeFiles = decodeFilesWith(createVellmeta, readHeader);
