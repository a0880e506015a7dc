// The viewer opened from disk in headless Chromium: its bare canvas is
// velmora-tool render's picture, with the blue 5 x 5 marker on the native
// path's point at t, clipped at the canvas's edges, and the editor's keys
// step through splines and notes as the editor does.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {after, before, test} from 'node:test';
import {pathToFileURL} from 'node:url';

import {launchChromium} from './chromium.mjs';
import {cAnswers, fromBits, pixels, rendered, scratch} from './native.mjs';

const {VELMORA_SOURCE, CHROMIUM} = process.env;
const viewer = path.join(VELMORA_SOURCE, 'web', 'viewer', 'index.html');

let browser;
before(async () => (browser = await launchChromium(CHROMIUM)));
after(() => browser.close());

// Chromium's picture of the page once it is ready and has been given the keys.
let visits = 0;
async function screenshot(fragment, keys = []) {
    // A new query each time: a change of fragment alone would not load the page anew.
    await browser.open(`${pathToFileURL(viewer).href}?${++visits}#${fragment}`);
    for (const key of keys)
        await browser.press(...key);
    const shot = path.join(scratch, 'shot.png');
    fs.writeFileSync(shot, await browser.screenshot());
    return pixels(shot);
}

// The C library's point on the path of a file's spline at the fraction t of
// its length: one of the distances binding_answers asks a path about.
function pathPoint(file, note, spline, t) {
    const prefix = `parse ${path.basename(file)} note ${note} spline ${spline - 1}:`;
    const read = cAnswers(`file ${path.basename(file)}`, path.dirname(file));
    const points = read.find((line) => line.startsWith(prefix)).slice(prefix.length);
    const along = cAnswers(`curve ${points}`, scratch).filter((line) => line.includes(' at '));
    const answer = along[[0, 0.001, 0.25, 0.5, 0.75, 1].indexOf(t) + 3];
    return answer.split(': ')[1].split(' ').slice(0, 2).map(fromBits);
}

function addMarker(rgba, x, y) {
    for (let row = Math.trunc(y) - 2; row <= Math.trunc(y) + 2; ++row) {
        for (let column = Math.trunc(x) - 2; column <= Math.trunc(x) + 2; ++column) {
            if (row >= 0 && row < 360 && column >= 0 && column < 480)
                rgba.set([0, 0, 255, 255], 4 * (480 * row + column));
        }
    }
}

test('the bare canvas is velmora-tool render\'s, and the marker is on the path at t', async () => {
    const example = path.join(VELMORA_SOURCE, 'examples', 'Splines.xml');
    const corpus = (name) => path.join(VELMORA_SOURCE, 'tests', 'data', 'corpus', name);
    const corner = path.join(scratch, 'corner.xml');
    fs.writeFileSync(
        corner,
        '<NewNoteSpline Index="2"><NewSpline><ControlPoint PosX="479" PosY="1" />' +
            '<ControlPoint PosX="200" PosY="100" /></NewSpline></NewNoteSpline>');
    const cases = [  // the file as the fragment names it, the note, the spline (from 1), t
        ['../../examples/Splines.xml', 0, 1], [example, 0, 2], [example, 1, 1], [example, 1, 2], [example, 3, 1],
        [corpus('extreme_coordinates.xml'), 0, 1], [corpus('coincident_points.xml'), 2, 1], [example, 0, 1, 0],
        [example, 0, 1, 0.25], [example, 0, 1, 1], [example, 0, 2, 0.5], [example, 1, 2, 0.25], [example, 1, 2, 0.75],
        [corner, 2, 1, 0]];
    for (const [named, note, spline, t] of cases) {
        const file = path.resolve(path.dirname(viewer), named);
        const expected = rendered(file, note, spline);
        let fragment = `file=${path.isAbsolute(named) ? pathToFileURL(named).href : named}` +
            `&note=${note}&spline=${spline}&bare=1`;
        if (t !== undefined) {
            addMarker(expected, ...pathPoint(file, note, spline, t));
            fragment += `&t=${t}`;
        }
        assert.ok(
            (await screenshot(fragment)).equals(expected),
            `${named} note ${note} spline ${spline} t ${t}`);
    }
    // Spline 2, 1 (wrapped), 2 (wrapped back); note 1; the main keyboard's plus does
    // nothing; note 0 again, on the spline it was left on.
    const keys = [
        ['ArrowRight', 'ArrowRight', 39], ['ArrowRight', 'ArrowRight', 39],
        ['ArrowLeft', 'ArrowLeft', 37], ['NumpadAdd', '+', 107], ['Equal', '+', 187],
        ['NumpadSubtract', '-', 109]
    ];
    const stepped = await screenshot(`file=${pathToFileURL(example).href}&bare=1`, keys);
    assert.ok(stepped.equals(rendered(example, 0, 2)), 'the editor\'s keys');
});
