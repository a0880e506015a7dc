// The viewer: a Splines.xml shown note by note and spline by spline as the
// editor draws it (velmora.js, the WebAssembly module, does the drawing), and
// a marker that moves along the current spline's path.
//
// The URL fragment #file=PATH&note=N&spline=S&t=F&bare=1 opens PATH (relative
// to the page, or a file: URL), shows note N (from 0) and spline S (from 1),
// puts the marker at the fraction F of the path's length, and with bare=1
// shows the canvas alone. When the page is ready its <html> element carries
// data-viewer="ready".
(function() {
'use strict';

const kNoteCount = 4;
const kBlue = [0, 0, 255, 255];

const byId = (id) => document.getElementById(id);
const canvas = byId('canvas');
const context = canvas.getContext('2d');

const state = {
    velmora: null,
    name: '',
    notes: null,
    note: 0,
    splineOf: [0, 0, 0, 0],  // each note's current spline, kept as the editor keeps it
    path: null,              // the current spline's CurvePath; null for fewer than two points
    scene: null,             // the canvas without the marker
    t: null,                 // the marker's place as a fraction of the path's length; null: none
    playing: false,
    playStart: 0,  // when, in animation-frame time, the current loop began
    opening: 0,    // counts openings, so that only the latest one shows
};

function say(text) { byId('message').textContent = text; }

// The fragment's fields, decoded ("+" stays a plus: it is a path).
function fragmentFields() {
    const fields = new Map();
    for (const part of location.hash.replace(/^#/, '').split('&')) {
        if (part === '')
            continue;
        const equals = part.indexOf('=');
        const key = equals < 0 ? part : part.slice(0, equals);
        const value = equals < 0 ? '' : part.slice(equals + 1);
        try {
            fields.set(decodeURIComponent(key), decodeURIComponent(value));
        } catch (error) {
            fields.set(key, value);
        }
    }
    return fields;
}

// A whole number from `first` to `last` written in decimal digits, or null.
function wholeNumber(text, first, last) {
    if (!/^[0-9]{1,10}$/.test(text))
        return null;
    const value = Number(text);
    return value >= first && value <= last ? value : null;
}

// Reads a file next to the page or a file: URL; XMLHttpRequest, as fetch()
// refuses file: URLs.
function readBytes(url) {
    return new Promise((resolve, reject) => {
        const request = new XMLHttpRequest();
        request.open('GET', url);
        request.responseType = 'arraybuffer';
        request.onload = () => {
            if (request.status === 200 || (request.status === 0 && request.response))
                resolve(new Uint8Array(request.response));
            else
                reject(new Error(`the browser answered ${request.status} ${request.statusText}`));
        };
        request.onerror = () => reject(new Error(
            'the browser did not read it (it may not exist; a page opened ' +
            'from disk may need leave to read files, as Chromium\'s ' +
            '--allow-file-access-from-files gives it)'));
        request.send();
    });
}

// What the editor says of a file it could not read in full.
function fileMessage(name, file) {
    const place = file.line > 0 ? ` (line ${file.line}, column ${file.column})` : '';
    const quoted = `The spline file "${name}"`;
    if (file.status === 'unreadable')
        return `${quoted} cannot be read${place}:\n${
            file.reason}\n\nThe default splines are shown instead.`;
    if (file.status === 'partial') {
        return `${quoted} was read only in part: reading stopped${place} at ${file.reason}, ` +
            'and what follows is not shown.';
    }
    return '';
}

function putMarker(image, centreX, centreY) {
    for (let y = centreY - 2; y <= centreY + 2; ++y) {
        for (let x = centreX - 2; x <= centreX + 2; ++x) {
            if (x >= 0 && y >= 0 && x < image.width && y < image.height)
                image.data.set(kBlue, 4 * (y * image.width + x));
        }
    }
}

// Paints the scene and, when it has a place, the marker on the point of
// the path at that fraction of its length, truncated to whole pixels.
function draw() {
    const image = new ImageData(new Uint8ClampedArray(state.scene), canvas.width, canvas.height);
    const length = state.path ? state.path.length : 0;
    let place = state.path ? `Length ${length.toFixed(1)} px` : 'No path: fewer than two points';
    if (state.path && state.t !== null) {
        const [x, y] = state.path.at(state.t * length);
        putMarker(image, Math.trunc(x), Math.trunc(y));
        place += ` · at ${(state.t * length).toFixed(1)} px (${x.toFixed(1)}, ${y.toFixed(1)})`;
    }
    context.putImageData(image, 0, 0);
    byId('slider').value = state.t === null ? 0 : state.t;
    byId('place').textContent = place;
}

// Shows the current note's current spline, as the editor's caption counts.
function show() {
    const splines = state.notes[state.note];
    const spline = state.splineOf[state.note];
    byId('caption').textContent =
        `Editing note ${state.note} spline ${spline + 1} / ${splines.length}`;
    state.scene = state.velmora.renderScene(state.notes, state.note, spline);
    if (state.path)
        state.path.free();
    const points = splines[spline];
    state.path = points.length >= 2 ? new state.velmora.CurvePath(points) : null;
    draw();
}

function stepSpline(step) {
    const count = state.notes[state.note].length;
    state.splineOf[state.note] = (state.splineOf[state.note] + step + count) % count;
    show();
}

function stepNote(step) {
    state.note = (state.note + step + kNoteCount) % kNoteCount;
    show();
}

function open(name, bytes) {
    const file = state.velmora.parseSplineFile(bytes);
    state.name = name;
    state.notes = file.notes;
    state.note = 0;
    state.splineOf = [0, 0, 0, 0];
    byId('name').textContent = name;
    say(fileMessage(name, file));
    show();
}

function durationMs() {
    const seconds = byId('duration').valueAsNumber;
    return Number.isFinite(seconds) && seconds > 0 ? seconds * 1000 : 1000;
}

function frame(now) {
    if (!state.playing)
        return;
    const duration = durationMs();
    state.t = ((now - state.playStart) % duration) / duration;
    draw();
    requestAnimationFrame(frame);
}

function play(on) {
    state.playing = on;
    byId('play').textContent = on ? 'Pause' : 'Play';
    if (on) {
        state.playStart = performance.now() - (state.t || 0) * durationMs();
        requestAnimationFrame(frame);
    }
}

// Opens what the fragment names, or the default splines of a fresh editor.
async function openFragment() {
    const opening = ++state.opening;
    const fields = fragmentFields();
    document.documentElement.classList.toggle('bare', fields.get('bare') === '1');
    if (typeof loadVelmora !== 'function') {
        say('velmora.js is missing beside this page: build it with scripts/build-web.');
        return;
    }
    state.velmora = await loadVelmora();
    const problems = [];
    let bytes = new Uint8Array(0);
    let name = '(no file: a fresh editor\'s splines)';
    if (fields.has('file')) {
        const path = fields.get('file');
        try {
            bytes = await readBytes(new URL(path, location.href).href);
            name = path;
        } catch (error) {
            problems.push(`The spline file "${path}" cannot be opened: ${error.message}.`);
        }
    }
    if (opening !== state.opening)
        return;
    play(false);
    state.t = null;
    open(name, bytes);
    if (fields.has('note')) {
        const note = wholeNumber(fields.get('note'), 0, kNoteCount - 1);
        if (note === null)
            problems.push(`note=${fields.get('note')}: a note is 0 to ${kNoteCount - 1}.`);
        else
            state.note = note;
    }
    if (fields.has('spline')) {
        const count = state.notes[state.note].length;
        const spline = wholeNumber(fields.get('spline'), 1, count);
        if (spline === null) {
            problems.push(
                `spline=${fields.get('spline')}: note ${state.note} has ` +
                `${count} spline(s), counted from 1.`);
        } else {
            state.splineOf[state.note] = spline - 1;
        }
    }
    if (fields.has('t')) {
        const t = Number(fields.get('t'));
        if (fields.get('t').trim() === '' || !(t >= 0 && t <= 1))
            problems.push(`t=${fields.get('t')}: the marker's place is a fraction from 0 to 1.`);
        else
            state.t = t;
    }
    show();
    if (problems.length > 0)
        say([byId('message').textContent, ...problems].filter(Boolean).join('\n\n'));
    document.documentElement.dataset.viewer = 'ready';
}

function openChosen(file) {
    file.arrayBuffer().then(
        (buffer) => open(file.name, new Uint8Array(buffer)),
        (error) => say(`The spline file "${file.name}" cannot be opened: ${error.message}.`));
}

byId('open').addEventListener('click', () => byId('file').click());
byId('file').addEventListener('change', (event) => {
    if (event.target.files.length > 0)
        openChosen(event.target.files[0]);
    event.target.value = '';
});
document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dropping');
});
document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dropping');
    if (state.velmora && event.dataTransfer.files.length > 0)
        openChosen(event.dataTransfer.files[0]);
});

byId('prev-note').addEventListener('click', () => stepNote(-1));
byId('next-note').addEventListener('click', () => stepNote(1));
byId('prev-spline').addEventListener('click', () => stepSpline(-1));
byId('next-spline').addEventListener('click', () => stepSpline(1));
// The editor's keys: Right and Left, and only the keypad's plus and minus.
const keys = {
    ArrowRight: () => stepSpline(1),
    ArrowLeft: () => stepSpline(-1),
    NumpadAdd: () => stepNote(1),
    NumpadSubtract: () => stepNote(-1),
};
document.addEventListener('keydown', (event) => {
    const command = keys[event.code];
    if (!command || !state.notes || event.target === byId('duration'))
        return;
    event.preventDefault();
    command();
});

byId('play').addEventListener('click', () => play(!state.playing));
byId('duration').addEventListener('change', () => {
    if (state.playing)
        play(true);
});
byId('slider').addEventListener('input', (event) => {
    play(false);
    state.t = event.target.valueAsNumber;
    draw();
});

window.addEventListener('hashchange', openFragment);
openFragment().catch((error) => say(`The viewer failed: ${error.message}`));
})();
