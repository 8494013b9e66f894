// SPDX-License-Identifier: Apache-2.0
// What both test pages do with the package, however they import it: the JSON
// report of the files at `names` (paths from the root of the server, fetched
// and read as Blobs), in `colorSpace`.
export const decodeFilesWith = (createVellmeta, readHeader) => async (names, colorSpace) => {
  const vm = await createVellmeta();
  const clips = [];
  for (const name of names) {
    const blob = await (await fetch(`/${name}`)).blob();
    clips.push(vm.decode(await readHeader(blob), { colorSpace, path: name }));
  }
  return vm.report(clips, 'json');
};
