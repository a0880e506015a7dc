// The JavaScript interface over the WebAssembly module: plain arrays and
// numbers in and out, the library's C interface underneath. Every call copies
// its input into the module's memory and frees it before it returns, so only
// a CurvePath holds memory there, until free().
//
// The build places this after the module's factory, createVelmoraModule, in
// the ES module (which exports loadVelmora) and in the classic script (which
// defines the global loadVelmora).

const kStatusNames = ['loaded', 'partial', 'missing', 'empty', 'unreadable'];

// The reader refuses a file of more than 16 MiB whatever its bytes, so no
// more than one byte past that needs to be copied in for it to say so.
const kMaxFileBytes = 16 * 1024 * 1024;

const kInt32Min = -2147483648;
const kInt32Max = 2147483647;

// Control points given as [x, y] pairs of 32-bit integers, flattened.
function pointPairs(points) {
    if (points == null || typeof points.length !== 'number')
        throw new TypeError('points must be an array of [x, y] pairs');
    const pairs = new Int32Array(2 * points.length);
    for (let i = 0; i < points.length; ++i) {
        const point = points[i];
        if (point == null || point.length !== 2)
            throw new TypeError(`point ${i} is not an [x, y] pair`);
        for (let axis = 0; axis < 2; ++axis) {
            const value = point[axis];
            if (!Number.isInteger(value))
                throw new TypeError(`point ${i} has a coordinate that is not an integer: ${value}`);
            if (value < kInt32Min || value > kInt32Max)
                throw new RangeError(`point ${i} has a coordinate outside 32 bits: ${value}`);
            pairs[2 * i + axis] = value;
        }
    }
    return pairs;
}

// The bytes of a file as a Uint8Array, from any binary buffer or view.
function fileBytes(bytes) {
    if (bytes instanceof Uint8Array)
        return bytes;
    if (bytes instanceof ArrayBuffer)
        return new Uint8Array(bytes);
    if (ArrayBuffer.isView(bytes))
        return new Uint8Array(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    throw new TypeError(
        'the file must be given as bytes (a Uint8Array; TextEncoder makes one from a string)');
}

// A generous guess at the number of samples of the curve through `pairs`:
// about one every 4 pixels along each chord's longer side, at most 4,096 a
// chord, and 2^22 in all.
function sampleGuess(pairs) {
    let guess = 1;
    for (let i = 2; i < pairs.length; i += 2) {
        const longer =
            Math.max(Math.abs(pairs[i] - pairs[i - 2]), Math.abs(pairs[i + 1] - pairs[i - 1]));
        guess += Math.min(longer / 4, 4096) + 4;
    }
    return Math.min(Math.ceil(guess), 1 << 22);
}

function checkIndex(name, value, count) {
    if (!Number.isInteger(value) || value < 0 || value >= count)
        throw new RangeError(`${name} must be an integer from 0 to ${count - 1}, not ${value}`);
}

function velmoraInterface(m) {
    // Allocates `bytes` in the module's memory for the length of use(address).
    function withMemory(bytes, use) {
        const address = m._malloc(Math.max(bytes, 1));
        if (address === 0)
            throw new RangeError('the WebAssembly module ran out of memory');
        try {
            return use(address);
        } finally {
            m._free(address);
        }
    }

    // Calls use(address, count, pairs) with the points copied into the module.
    function withPoints(points, use) {
        const pairs = pointPairs(points);
        return withMemory(4 * pairs.length, (address) => {
            m.HEAP32.set(pairs, address >> 2);
            return use(address, pairs.length / 2, pairs);
        });
    }

    // Reads the x,y pairs fill(address) writes into room for `capacity` of
    // them, as [x, y] arrays; fill returns how many it wrote. (The heap is
    // looked up after the call: memory may have grown.)
    function readPairs(capacity, heapName, fill) {
        const size = m[heapName].BYTES_PER_ELEMENT;
        return withMemory(2 * size * capacity, (address) => {
            const count = fill(address);
            const values = m[heapName];
            const first = address / size;
            const pairs = new Array(count);
            for (let i = 0; i < count; ++i)
                pairs[i] = [values[first + 2 * i], values[first + 2 * i + 1]];
            return pairs;
        });
    }

    // One call of the sampler `name` usually does: the first buffer is sized
    // by a guess (about a sample every 4 pixels along each chord's longer
    // side, and some), and only a curve with more samples needs a second call.
    function sample(name, heapName, points) {
        return withPoints(points, (address, n, pairs) => {
            const guess = sampleGuess(pairs);
            let total = 0;
            const first = readPairs(guess, heapName, (out) => {
                total = m[name](address, n, out, guess) >>> 0;
                return Math.min(total, guess);
            });
            if (total <= guess)
                return first;
            return readPairs(total, heapName, (out) => m[name](address, n, out, total) >>> 0);
        });
    }

    // Two doubles for the answers of the path, allocated once: a game asks
    // for a point every frame.
    const answer = m._malloc(16);

    // Paths a program drops without free() are freed when collected.
    const unfreed = new FinalizationRegistry((path) => m._velmora_path_free(path));

    class CurvePath {
        #path;
        #freed = false;

        constructor(points) {
            this.#path = withPoints(points, (address, n) => m._velmora_path_new(address, n));
            if (this.#path === 0 && points.length >= 2)
                throw new RangeError('the WebAssembly module ran out of memory');
            if (this.#path !== 0)
                unfreed.register(this, this.#path, this);
        }

        // The path's address in the module (0 for fewer than two points,
        // which the C interface treats as a path of length 0 at (0, 0)).
        #live() {
            if (this.#freed)
                throw new Error('this CurvePath was freed');
            return this.#path;
        }

        #pair(name, distance) {
            if (typeof distance !== 'number')
                throw new TypeError(`the distance must be a number, not ${typeof distance}`);
            m[name](this.#live(), distance, answer, answer + 8);
            return [m.HEAPF64[answer >> 3], m.HEAPF64[(answer >> 3) + 1]];
        }

        get length() { return m._velmora_path_length(this.#live()); }

        at(distance) { return this.#pair('_velmora_path_at', distance); }

        directionAt(distance) { return this.#pair('_velmora_path_direction', distance); }

        free() {
            if (this.#freed)
                return;
            this.#freed = true;
            unfreed.unregister(this);
            m._velmora_path_free(this.#path);
        }
    }

    function readFile(file) {
        const notes = [];
        for (let note = 0; note < 4; ++note) {
            const splines = [];
            const count = m._velmora_file_spline_count(file, note) >>> 0;
            for (let spline = 0; spline < count; ++spline) {
                const n = m._velmora_file_points(file, note, spline, 0, 0) >>> 0;
                splines.push(readPairs(
                    n, 'HEAP32',
                    (out) => m._velmora_file_points(file, note, spline, out, n) >>> 0));
            }
            notes.push(splines);
        }
        return {
            status: kStatusNames[m._velmora_file_status(file)],
            reason: m.UTF8ToString(m._velmora_file_reason(file)),
            line: m._velmora_file_line(file),
            column: m._velmora_file_column(file),
            notes,
        };
    }

    const width = m._velmora_web_scene_width();
    const height = m._velmora_web_scene_height();
    const star = (place) => {
        place(answer, answer + 4);
        return Object.freeze([m.HEAP32[answer >> 2], m.HEAP32[(answer >> 2) + 1]]);
    };

    return Object.freeze({
        parseSplineFile(bytes) {
            const data = fileBytes(bytes);
            const size = Math.min(data.length, kMaxFileBytes + 1);
            const file = withMemory(size, (address) => {
                m.HEAPU8.set(data.subarray(0, size), address);
                return m._velmora_file_parse(address, size);
            });
            if (file === 0)
                throw new RangeError('the WebAssembly module ran out of memory');
            try {
                return readFile(file);
            } finally {
                m._velmora_file_free(file);
            }
        },

        sampleCurve(points) { return sample('_velmora_curve', 'HEAP32', points); },

        sampleCurvePrecise(points) { return sample('_velmora_curve_precise', 'HEAPF64', points); },

        renderScene(notes, note, spline) {
            checkIndex('note', note, 4);
            const splines = notes == null ? undefined : notes[note];
            if (splines == null || typeof splines.length !== 'number')
                throw new TypeError(`notes[${note}] must be an array of splines`);
            checkIndex('spline', spline, splines.length);
            const bytes = 4 * width * height;
            return withPoints(
                splines[spline],
                (address, n) => withMemory(bytes, (out) => {
                    m._velmora_web_render_scene(address, n, note, out);
                    return new Uint8ClampedArray(m.HEAPU8.slice(out, out + bytes).buffer);
                }));
        },

        CurvePath,

        editorClient: Object.freeze({width, height}),
        editorOrigin: star(m._velmora_editor_origin),
        editorTargets: Object.freeze(
            [0, 1, 2, 3].map((note) => star((x, y) => m._velmora_editor_target(note, x, y)))),
    });
}

let velmoraLoading = null;

// The interface, once the module has been compiled; every call gives the same
// one.
function loadVelmora() {
    if (velmoraLoading === null) {
        velmoraLoading = createVelmoraModule().then(velmoraInterface, (error) => {
            velmoraLoading = null;
            throw error;
        });
    }
    return velmoraLoading;
}
