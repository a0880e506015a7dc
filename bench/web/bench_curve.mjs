// The WebAssembly module's curve and path, timed in Node through the npm
// package's interface (the JavaScript arrays it hands back included), on
// random control points in the 480 x 360 client area, as bench_curve_path
// times the native library:
//   node bench/web/bench_curve.mjs build/web/module/velmora.mjs
import {performance} from 'node:perf_hooks';
import {pathToFileURL} from 'node:url';

const {loadVelmora} = await import(pathToFileURL(process.argv[2]));
const v = await loadVelmora();

function randomPoints(count) {
    let seed = 20261207;
    const random = () => (seed = (Math.imul(seed, 1103515245) + 12345) >>> 0) / 2 ** 32;
    return Array.from(
        {length: count}, () => [Math.floor(random() * 480), Math.floor(random() * 360)]);
}

// Runs `step` for about half a second and prints the time of one run.
function time(name, step) {
    let runs = 0;
    const start = performance.now();
    while (performance.now() - start < 500) {
        step(runs);
        ++runs;
    }
    const each = (performance.now() - start) / runs;
    console.log(`${name.padEnd(28)} ${(each * 1000).toFixed(3).padStart(12)} us  ${runs} runs`);
}

for (const count of [20, 2000]) {
    const points = randomPoints(count);
    time(`sampleCurve/${count}`, () => v.sampleCurve(points));
    time(`sampleCurvePrecise/${count}`, () => v.sampleCurvePrecise(points));
    time(`CurvePath new+free/${count}`, () => new v.CurvePath(points).free());
    const path = new v.CurvePath(points);
    time(`CurvePath.at/${count}`, (i) => path.at((i * 7.31) % path.length));
    path.free();
}
