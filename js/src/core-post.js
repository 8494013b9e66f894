// SPDX-License-Identifier: Apache-2.0
// Appended after the module's script. A classic script defines
// createVellmetaModule as a global and CommonJS gets it as module.exports;
// loaded as an ES module (a browser importing the package with no bundler),
// the script has neither, so it leaves the factory where the package's ES
// module picks it up.
if (typeof exports !== 'object' && typeof globalThis === 'object') {
  globalThis.createVellmetaModule = createVellmetaModule;
}
