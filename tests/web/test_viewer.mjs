// The viewer opened from disk in headless Chromium: its bare canvas is
// velmora-tool render's picture, with the blue 5 x 5 marker on the native
// path's point at t, clipped at the canvas's edges.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {test} from 'node:test';
import {pathToFileURL} from 'node:url';

import {nativeAnswers, pixels, rendered, scratch} from './native.mjs';

const {VELMORA_SOURCE, CHROMIUM} = process.env;
const viewer = path.join(VELMORA_SOURCE, 'web', 'viewer', 'index.html');

// Chromium's picture of the page in a 480 x 360 window, once it has settled
// (virtual time stands still while the page reads its file).
function screenshot(fragment) {
    const shot = path.join(scratch, 'shot.png');
    const options = [
        '--headless', '--disable-gpu', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync',
        `--user-data-dir=${path.join(scratch, 'profile')}`, '--allow-file-access-from-files',
        '--window-size=480,360', '--virtual-time-budget=10000', `--screenshot=${shot}`
    ];
    if (process.getuid() === 0)
        options.push('--no-sandbox');
    execFileSync(
        CHROMIUM, [...options, `${pathToFileURL(viewer).href}#${fragment}`], {stdio: 'ignore'});
    return pixels(shot);
}

function addMarker(rgba, x, y) {
    for (let row = Math.trunc(y) - 2; row <= Math.trunc(y) + 2; ++row) {
        for (let column = Math.trunc(x) - 2; column <= Math.trunc(x) + 2; ++column) {
            if (row >= 0 && row < 360 && column >= 0 && column < 480)
                rgba.set([0, 0, 255, 255], 4 * (480 * row + column));
        }
    }
}

test('the bare canvas is velmora-tool render\'s, and the marker is on the path at t', () => {
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
        [example, 0, 1, 0.3], [example, 0, 1, 1], [example, 0, 2, 0.5], [example, 1, 2, 0.4], [example, 1, 2, 0.9],
        [corner, 2, 1, 0]];
    for (const [named, note, spline, t] of cases) {
        const file = path.resolve(path.dirname(viewer), named);
        const expected = rendered(file, note, spline);
        let fragment = `file=${path.isAbsolute(named) ? pathToFileURL(named).href : named}` +
            `&note=${note}&spline=${spline}&bare=1`;
        if (t !== undefined) {
            const points = nativeAnswers([`file ${file}`])[0].notes[note][spline - 1];
            const [{at}] =
                nativeAnswers([['curve', points.length, ...points.flat(), 1, t].join(' ')]);
            addMarker(expected, ...at[0]);
            fragment += `&t=${t}`;
        }
        assert.ok(
            screenshot(fragment).equals(expected), `${named} note ${note} spline ${spline} t ${t}`);
    }
});
