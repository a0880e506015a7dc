// The npm package, installed as npm installs it, against the native C
// library: the same samples, paths and files bit for bit. (Its canvas is
// the viewer's, which test_viewer compares with velmora-tool render.)
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {test} from 'node:test';
import {pathToFileURL} from 'node:url';

import {nativeAnswers, scratch} from './native.mjs';

const {VELMORA_PACKAGE, VELMORA_SOURCE} = process.env;

async function installedPackage() {
    const folder = path.join(scratch, 'node_modules', 'velmora');
    fs.mkdirSync(folder, {recursive: true});
    execFileSync('tar', ['-xzf', VELMORA_PACKAGE, '-C', folder, '--strip-components=1']);
    fs.writeFileSync(path.join(scratch, 'game.mjs'), 'export {loadVelmora} from \'velmora\';\n');
    return (await import(pathToFileURL(path.join(scratch, 'game.mjs')))).loadVelmora();
}
const v = await installedPackage();

// Splines of every kind: on the canvas and off it, at 2^24 and at the ends
// of 32 bits, with repeated points, of 0 and 1 point, and of 2,000 points.
function randomSplines() {
    let seed = 24;  // the same splines on every run
    const random = () => (seed = (Math.imul(seed, 1103515245) + 12345) >>> 0) / 2 ** 32;
    const kinds =
        [[-100, 580, 12], [-5000, 5000, 6], [-(2 ** 24), 2 ** 24, 4], [-(2 ** 31), 2 ** 31 - 1, 3]];
    const splines = [];
    for (let i = 0; i < 320; ++i) {
        const [low, high, most] = kinds[i % kinds.length];
        const count = i % 80 === 0 ? 2000 : Math.floor(random() * (most + 1));
        const coordinate = () => low + Math.floor(random() * (high - low + 1));
        const points = [];
        for (let p = 0; p < count; ++p)
            points.push(
                p > 0 && random() < 0.1 ? [...points[p - 1]] : [coordinate(), coordinate()]);
        splines.push(points);
    }
    return splines;
}

const kFractions = [-0.5, 0, 1e-9, 0.25, 0.5, 0.999999, 1, 1.5, NaN, -Infinity, Infinity];

test('random splines: samples, precise samples and paths equal the native library\'s', () => {
    const splines = randomSplines();
    const requests = splines.map(
        (points) => ['curve', points.length, ...points.flat(), kFractions.length, ...kFractions]
                        .join(' '));
    nativeAnswers(requests).forEach((native, i) => {
        const points = splines[i];
        assert.deepEqual(v.sampleCurve(points), native.curve, `spline ${i}`);
        assert.deepEqual(v.sampleCurvePrecise(points), native.precise, `spline ${i}`);
        const curvePath = new v.CurvePath(points);
        assert.equal(curvePath.length, native.length, `spline ${i}`);
        const along = (answer) => kFractions.map((f) => answer(f * curvePath.length));
        assert.deepEqual(along((d) => curvePath.at(d)), native.at, `spline ${i}`);
        assert.deepEqual(along((d) => curvePath.directionAt(d)), native.direction, `spline ${i}`);
        curvePath.free();
    });
});

test('the bad-input corpus reads as the native library reads it', () => {
    const tooLarge = path.join(scratch, 'too-large.xml');
    fs.writeFileSync(tooLarge, Buffer.alloc(16 * 1024 * 1024 + 1, ' '));
    const files = [tooLarge, path.join(VELMORA_SOURCE, 'examples', 'Splines.xml')];
    for (const folder of ['tests/data', 'fuzz/corpus/fuzz_file', 'fuzz/corpus/fuzz_xml_scan']) {
        for (const entry of fs.readdirSync(path.join(VELMORA_SOURCE, folder), {recursive: true}))
            files.push(path.join(VELMORA_SOURCE, folder, entry));
    }
    const readable = files.filter((file) => fs.statSync(file).isFile());
    nativeAnswers(readable.map((file) => `file ${file}`)).forEach((native, i) => {
        assert.deepEqual(v.parseSplineFile(fs.readFileSync(readable[i])), native, readable[i]);
    });
});

test('the editor\'s client size, origin and targets are the C library\'s', () => {
    const {width, height} = v.editorClient;
    assert.deepEqual(
        [[width, height], v.editorOrigin, ...v.editorTargets], nativeAnswers(['editor'])[0]);
});

test('wrong arguments throw and leave the module working', () => {
    const before = v.sampleCurve([[0, 0], [80, 10], [9, 9]]);
    const freed = new v.CurvePath([[0, 0], [9, 9]]);
    freed.free();
    const notes = v.parseSplineFile(new Uint8Array()).notes;
    const cases = [
        [() => v.sampleCurve([[1.5, 2], [3, 4]]), TypeError],
        [() => v.sampleCurve([[2 ** 31, 0], [3, 4]]), RangeError],
        [() => v.sampleCurvePrecise([[1, 2, 3]]), TypeError],
        [() => v.sampleCurve(null), TypeError],
        [() => v.parseSplineFile('<NewNoteSpline/>'), TypeError],
        [() => v.renderScene(notes, 4, 0), RangeError],
        [() => v.renderScene(notes, 0, 1), RangeError],
        [() => new v.CurvePath([[0, 0], [1, '2']]), TypeError],
        [() => freed.at(0), Error],
        [() => new v.CurvePath([[0, 0], [4, 4]]).at('1'), TypeError],
    ];
    for (const [call, error] of cases)
        assert.throws(call, error, call.toString());
    assert.deepEqual(v.sampleCurve([[0, 0], [80, 10], [9, 9]]), before);
});
