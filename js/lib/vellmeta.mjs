// SPDX-License-Identifier: Apache-2.0
// The package's API, the same in Node and in browsers: createVellmeta()
// loads the WebAssembly module (both libraries and the binding, with the
// WebAssembly inside the script, so that nothing has to be located), and the
// object it gives decodes headers into plain objects and writes the tool's
// reports. Every value and every report is written by the presentation
// library through the binding; this file only reshapes its JSON.
import * as core from '../dist/vellmeta-core.js';

// CommonJS (Node, bundlers) gives the factory as the script's export; a
// browser loading the script as an ES module leaves it on globalThis.
const createModule = core.default ?? globalThis.createVellmetaModule;

// The bytes at the start of a file that hold its header.
const HEADER_SIZE = 2480;

// The header each decoded clip was made from, and its colour space, so that
// text() and report() decode it again: the clip itself stays a plain object.
const sources = new WeakMap();

function headerBytes(bytes) {
  if (bytes instanceof Uint8Array) return bytes;
  if (bytes instanceof ArrayBuffer) return new Uint8Array(bytes);
  if (ArrayBuffer.isView(bytes)) return new Uint8Array(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  throw new TypeError('decode() takes the header as a Uint8Array, an ArrayBuffer or another view of bytes');
}

// JSON has no NaN or infinity: the binding writes them as the strings
// "NaN", "Infinity" and "-Infinity", and names the fields that hold one.
function numbersOf(value) {
  if (typeof value === 'string') return Number(value);
  if (Array.isArray(value)) return value.map(numbersOf);
  return value;
}

class Vellmeta {
  #module;
  #names;
  #fields;

  constructor(module) {
    this.#module = module;
    this.#names = JSON.parse(module.fieldNamesJson());
    this.#fields = module.fieldsJson();
  }

  // The library's version text.
  get version() {
    return this.#module.libraryVersion();
  }

  #refuse(problem) {
    if (problem) throw new RangeError(problem);
  }

  decode(bytes, { colorSpace = 'native', path = '' } = {}) {
    const view = headerBytes(bytes);
    if (view.length < HEADER_SIZE) throw new RangeError(`header ${this.#module.headerSizeProblem(view.length)}`);
    this.#refuse(this.#module.colorSpaceProblem(colorSpace));
    // A copy of the header's bytes alone: the clip owns it, whatever the
    // caller does with its buffer afterwards.
    const header = view.slice(0, HEADER_SIZE);
    const [values, result, nonFinite] = JSON.parse(this.#module.decodeClip(header, colorSpace));
    const clip = { path: String(path), colorSpace, result };
    const names = this.#names;
    for (let i = 0; i < names.length; ++i) clip[names[i]] = values[i] ?? undefined;
    for (const i of nonFinite) clip[names[i]] = numbersOf(values[i]);
    sources.set(clip, { header, colorSpace });
    return clip;
  }

  fields() {
    return JSON.parse(this.#fields);
  }

  text(clip, name) {
    const source = this.#source(clip);
    if (!this.#names.includes(name)) throw new RangeError(`no field is named "${name}"`);
    return this.#module.fieldText(source.header, source.colorSpace, name);
  }

  report(clips, format = 'json') {
    this.#refuse(this.#module.reportFormatProblem(format));
    const entries = Array.from(clips, (clip) => {
      const { header, colorSpace } = this.#source(clip);
      return { header, colorSpace, path: String(clip.path ?? '') };
    });
    return this.#module.report(entries, format);
  }

  #source(clip) {
    const source = clip !== null && typeof clip === 'object' ? sources.get(clip) : undefined;
    if (!source) throw new TypeError('not a clip that decode() returned');
    return source;
  }
}

export async function createVellmeta() {
  const module = await createModule();
  if (module.headerSize() !== HEADER_SIZE) throw new Error('the WebAssembly module reads headers of another size');
  return new Vellmeta(module);
}

// readHeader() for a surface: `readPath(path)` reads the start of a file
// named by a path or a file: URL, where there are paths (Node); null where
// there are none.
export function readHeaderWith(readPath) {
  return async function readHeader(source) {
    if (typeof Blob === 'function' && source instanceof Blob) {
      return new Uint8Array(await source.slice(0, HEADER_SIZE).arrayBuffer());
    }
    if (typeof source === 'string' || source instanceof URL) {
      if (!readPath) throw new TypeError('readHeader() reads paths under Node only: give it a File or Blob');
      return readPath(source);
    }
    throw new TypeError('readHeader() takes a File, a Blob or (under Node) a path');
  };
}

export { HEADER_SIZE };
