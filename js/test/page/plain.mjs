// SPDX-License-Identifier: Apache-2.0
// A page's script that imports the package's ES module as it is, by its path
// in node_modules, with no bundler.
import { createVellmeta, readHeader } from '../node_modules/vellmeta/lib/browser.mjs';

// The JSON report of the files at `names` (paths from the root of the server,
// fetched and read as Blobs), in `colorSpace`.
window.decodeFiles = async (names, colorSpace) => {
  const vm = await createVellmeta();
  const clips = [];
  for (const name of names) {
    const blob = await (await fetch(`/${name}`)).blob();
    clips.push(vm.decode(await readHeader(blob), { colorSpace, path: name }));
  }
  return vm.report(clips, 'json');
};
