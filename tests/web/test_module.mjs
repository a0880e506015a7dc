// The npm package, installed as npm installs it, answers cases.txt, random
// splines and the bad-input corpus in the text binding_answers gives for the
// C library, which must be the same, bit for bit. (Its canvas is the
// viewer's, which test_viewer compares with velmora-tool render.)
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {test} from 'node:test';
import {pathToFileURL} from 'node:url';

import {cAnswers, scratch} from './native.mjs';

const {VELMORA_PACKAGE, VELMORA_SOURCE} = process.env;

async function installedPackage() {
    const folder = path.join(scratch, 'node_modules', 'velmora');
    fs.mkdirSync(folder, {recursive: true});
    execFileSync('tar', ['-xzf', VELMORA_PACKAGE, '-C', folder, '--strip-components=1']);
    fs.writeFileSync(path.join(scratch, 'game.mjs'), 'export {loadVelmora} from \'velmora\';\n');
    return (await import(pathToFileURL(path.join(scratch, 'game.mjs')))).loadVelmora();
}
const v = await installedPackage();

const kStatus = ['loaded', 'partial', 'missing', 'empty', 'unreadable'];

function bits(value) {
    if (Number.isNaN(value))
        return 'nan';
    const view = new DataView(new ArrayBuffer(8));
    view.setFloat64(0, value);
    return view.getBigUint64(0).toString(16).padStart(16, '0');
}

const pairs = (points, show) => points.map(([x, y]) => ` ${show(x)} ${show(y)}`).join('');

// The module's answers to the cases, as binding_answers prints the C library's.
function answers(cases, corpus) {
    const out = [];
    const lines = cases.split('\n').filter((line) => line.trim() !== '' && !line.startsWith('#'));
    lines.forEach((line, i) => {
        const [kind, ...words] = line.trim().split(/\s+/);
        if (kind === 'curve') {
            const label = `curve ${i + 1}`;
            const points = [];
            for (let w = 0; w + 1 < words.length; w += 2)
                points.push([Number(words[w]), Number(words[w + 1])]);
            const [samples, precise] = [v.sampleCurve(points), v.sampleCurvePrecise(points)];
            out.push(`${label} samples ${samples.length}:${pairs(samples, String)}`);
            out.push(`${label} precise ${precise.length}:${pairs(precise, bits)}`);
            const curvePath = new v.CurvePath(points);
            const length = curvePath.length;
            out.push(`${label} length ${bits(length)}`);
            const fractions = [0.001, 0.25, 0.5, 0.75, 1].map((f) => length * f);
            for (const d of [-1, -Infinity, NaN, 0, ...fractions, length + 1, Infinity]) {
                const [at, direction] = [curvePath.at(d), curvePath.directionAt(d)];
                out.push(`${label} at ${bits(d)}:${pairs([at], bits)} direction${
                    pairs([direction], bits)}`);
            }
            curvePath.free();
        } else if (kind === 'geometry') {
            const {width, height} = v.editorClient;
            out.push(
                `geometry client ${width} ${height} origin ${v.editorOrigin.join(' ')} targets` +
                pairs(v.editorTargets, String));
        } else {
            const file = path.join(corpus, words[0]);
            const read =
                v.parseSplineFile(fs.existsSync(file) ? fs.readFileSync(file) : new Uint8Array());
            const label = `parse ${words[0]}`;
            out.push(`${label} status ${kStatus.indexOf(read.status)} line ${read.line} column ${
                read.column}`);
            out.push(`${label} reason ${read.reason}`);
            read.notes.forEach((splines, note) => splines.forEach((points, s) => {
                out.push(`${label} note ${note} spline ${s}:${pairs(points, String)}`);
            }));
        }
    });
    return out;
}

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
        splines.push(`curve ${points.flat().join(' ')}`);
    }
    return splines;
}

// Every file of the folders, named relative to the source tree.
function corpusFiles(...folders) {
    return folders
        .flatMap((folder) => fs.readdirSync(path.join(VELMORA_SOURCE, folder), {
                                   recursive: true
                               }).map((entry) => path.join(folder, entry)))
        .filter((name) => fs.statSync(path.join(VELMORA_SOURCE, name)).isFile());
}

test('cases.txt, random splines and the corpus: the C library\'s answers', () => {
    const tooLarge = path.join(scratch, 'too-large.xml');
    fs.writeFileSync(tooLarge, Buffer.alloc(16 * 1024 * 1024 + 1, ' '));
    const files = [
        path.relative(VELMORA_SOURCE, tooLarge), 'examples/Splines.xml',
        ...corpusFiles('tests/data', 'fuzz/corpus/fuzz_file', 'fuzz/corpus/fuzz_xml_scan')
    ];
    const runs = [
        [
            fs.readFileSync(path.join(VELMORA_SOURCE, 'tests/bindings/cases.txt'), 'utf8'),
            path.join(VELMORA_SOURCE, 'tests/data/corpus')
        ],
        [[...randomSplines(), ...files.map((name) => `file ${name}`)].join('\n'), VELMORA_SOURCE]
    ];
    for (const [cases, corpus] of runs) {
        const [expected, actual] = [cAnswers(cases, corpus), answers(cases, corpus)];
        const first = expected.findIndex((line, i) => line !== actual[i]);
        assert.equal(
            first, -1, `${expected[first]?.slice(0, 200)} / ${actual[first]?.slice(0, 200)}`);
        assert.equal(actual.length, expected.length);
    }
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
