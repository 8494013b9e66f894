// SPDX-License-Identifier: Apache-2.0
// A page's script that imports the package as an application would; esbuild
// bundles it (dist/main.js) with no options beyond --bundle.
import { createVellmeta, readHeader } from 'vellmeta';

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
