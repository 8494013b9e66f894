// SPDX-License-Identifier: Apache-2.0
// Uses every function the package exports, as an application written in
// TypeScript would; js/test/run type-checks it (tsc --noEmit) against the
// package's generated declarations. The @ts-expect-error lines must fail:
// the declarations type each field, not `any`.
import { createVellmeta, readHeader, type Clip, type Field, type TimeCode, type Rational } from 'vellmeta';

const vm = await createVellmeta();
const clip: Clip = vm.decode(await readHeader('A001_C001.vellraw'), { colorSpace: 'aces', path: 'A001_C001.vellraw' });
const fromBlob: Uint8Array = await readHeader(new Blob([]));
vm.decode(new ArrayBuffer(2480));
vm.decode(fromBlob);

const exposure: number | undefined = clip.exposureTime;
const model: string | undefined = clip.cameraModel;
const timeCode: TimeCode | undefined = clip.timeCode;
const rate: Rational | undefined = clip.sensorFrameRate;
const primaries: [[number, number], [number, number], [number, number], [number, number]] | undefined =
  clip.chromaticities;
const failed: boolean = clip.result.isError;
const fields: Field[] = vm.fields();
const label: string = fields[0].label;
const people: string | undefined = vm.text(clip, 'exposureTime');
const json: string = vm.report([clip], 'json');
const version: string = vm.version;
console.log(exposure, model, timeCode?.text, rate?.numerator, primaries, failed, label, people, json, version);

// @ts-expect-error an exposure time is a number
const wrong: string | undefined = clip.exposureTime;
// @ts-expect-error no such field
vm.text(clip, 'noSuchField');
// @ts-expect-error no such format
vm.report([clip], 'xml');
// @ts-expect-error no such colour space
vm.decode(fromBlob, { colorSpace: 'srgb' });
console.log(wrong);
