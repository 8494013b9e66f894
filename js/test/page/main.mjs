// SPDX-License-Identifier: Apache-2.0
// A page's script that imports the package as an application would; esbuild
// bundles it (dist/main.js) with no options beyond --bundle.
import { createVellmeta, readHeader } from 'vellmeta';
import { decodeFilesWith } from './decode-files.mjs';

window.decodeFiles = decodeFilesWith(createVellmeta, readHeader);
