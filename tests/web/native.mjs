// The native library's answers (native_answers) and velmora-tool's pictures,
// for the tests of the WebAssembly module and the viewer to compare with.
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const {VELMORA_NATIVE_ANSWERS, VELMORA_TOOL} = process.env;
export const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'velmora-web-'));
process.on('exit', () => fs.rmSync(scratch, {recursive: true, force: true}));

export function nativeAnswers(requests) {
    const input = requests.join('\n') + '\n';
    const output = execFileSync(VELMORA_NATIVE_ANSWERS, {input, maxBuffer: 1 << 30});
    return output.toString().trim().split('\n').map((line) => JSON.parse(line));
}

// A PNG file's pixels as RGBA bytes, row by row.
export function pixels(png) {
    const rgba = path.join(scratch, 'pixels.rgba');
    nativeAnswers([`pixels ${png} ${rgba}`]);
    return fs.readFileSync(rgba);
}

// velmora-tool render's picture of a note (from 0) and a spline (from 1).
export function rendered(file, note, spline) {
    const png = path.join(scratch, 'rendered.png');
    execFileSync(
        VELMORA_TOOL, ['render', file, '--note', `${note}`, '--spline', `${spline}`, '-o', png]);
    return pixels(png);
}
