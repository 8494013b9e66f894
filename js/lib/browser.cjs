// SPDX-License-Identifier: Apache-2.0
// The package for require(): the same functions, from the ES module
// (browser.mjs), which loads when first called (both return promises).
'use strict';

const load = () => import('./browser.mjs');

exports.createVellmeta = async () => (await load()).createVellmeta();
exports.readHeader = async (source) => (await load()).readHeader(source);
