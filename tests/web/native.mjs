// The C library's answers (binding_answers, as every binding is checked)
// and velmora-tool's pictures, for the tests of the WebAssembly module and
// the viewer to compare with.
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const {VELMORA_BINDING_ANSWERS, VELMORA_PNG_PIXELS, VELMORA_TOOL} = process.env;
export const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'velmora-web-'));
process.on('exit', () => fs.rmSync(scratch, {recursive: true, force: true}));

// The C library's answers to the cases (the text of a cases.txt), files named
// relative to `corpus`; a file read from disk is left out, as JavaScript
// reads from memory only.
export function cAnswers(cases, corpus) {
    const file = path.join(scratch, 'cases.txt');
    fs.writeFileSync(file, cases);
    const output = execFileSync(VELMORA_BINDING_ANSWERS, [file, corpus], {maxBuffer: 1 << 30});
    return output.toString().split('\n').filter((line) => line !== '' && !line.startsWith('read '));
}

// A double from the 16 hexadecimal digits of its bits.
export const fromBits = (hex) =>
    new DataView(BigUint64Array.of(BigInt(`0x${hex}`)).buffer).getFloat64(0, true);

// A PNG file's pixels as RGBA bytes, row by row.
export const pixels = (png) => execFileSync(VELMORA_PNG_PIXELS, [png], {maxBuffer: 1 << 30});

// velmora-tool render's picture of a note (from 0) and a spline (from 1).
export function rendered(file, note, spline) {
    const png = path.join(scratch, 'rendered.png');
    execFileSync(
        VELMORA_TOOL, ['render', file, '--note', `${note}`, '--spline', `${spline}`, '-o', png]);
    return pixels(png);
}
