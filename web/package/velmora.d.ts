// Velmora's spline file reader, curve and canvas, compiled to WebAssembly
// from the same C++ as the native library: the same answers, bit for bit.

/** A point in the editor's client pixels: x to the right, y downwards. */
export type Point = [x: number, y: number];

/** Control points: [x, y] pairs of 32-bit integers. */
export type Points = ReadonlyArray<readonly[number, number]>;

/**
 * How far a file was read: in full, up to `line`:`column` (what follows was
 * not read), not at all, or it held zero bytes or only white space.
 * ("missing" is for files read from disk, which this module does not do.)
 */
export type SplineFileStatus = 'loaded'|'partial'|'missing'|'empty'|'unreadable';

export interface SplineFile {
    status: SplineFileStatus;
    /** What was wrong, or why reading stopped; "" when loaded or empty. */
    reason: string;
    /** Where the reason applies, from 1; 0 when unknown. */
    line: number;
    column: number;
    /**
     * The four notes' splines as the editor shows them after loading: each
     * note holds at least one spline (its default one when the file gives
     * none); points in client pixels.
     */
    notes: Point[][][];
}

/** The drawn curve as a path to move along at constant speed. */
export interface CurvePath {
    /** The sum of the pieces' lengths between consecutive precise samples. */
    readonly length: number;
    /**
     * The point `distance` along the path: below 0 (or NaN) the start, beyond
     * the length the end. A path of fewer than two points is at (0, 0).
     */
    at(distance: number): Point;
    /**
     * The unit direction of travel at `distance`: that of the piece the point
     * lies on (at a joint the piece after it; at and beyond the end the last
     * piece). A path of zero length gives [0, 0].
     */
    directionAt(distance: number): Point;
    /** Frees the path's memory in the module; using it afterwards throws. */
    free(): void;
}

export interface Velmora {
    /** Reads a Splines.xml from its bytes as the editor does at start-up. */
    parseSplineFile(bytes: Uint8Array|ArrayBuffer|ArrayBufferView): SplineFile;
    /**
     * The samples of the curve the editor draws through the points, in whole
     * pixels; empty for fewer than two points.
     */
    sampleCurve(points: Points): Point[];
    /** The same samples before they are truncated toward zero. */
    sampleCurvePrecise(points: Points): Point[];
    /**
     * The editor's canvas showing spline `spline` (an index into
     * `notes[note]`, from 0) of note `note` (0 to 3), as velmora-tool render
     * draws it: 480 x 360 pixels of red, green, blue and alpha (255), row by
     * row from the top, ready for `new ImageData(pixels, 480, 360)`.
     */
    renderScene(notes: ReadonlyArray<ReadonlyArray<Points>>, note: number, spline: number):
        Uint8ClampedArray;
    /** A path along the curve through the points. */
    CurvePath: new(points: Points) => CurvePath;
    /** The editor's client area, in whose pixels the points are. */
    readonly editorClient: {readonly width: number; readonly height: number};
    /** The origin: the white star, where every default spline starts. */
    readonly editorOrigin: readonly [x: number, y: number];
    /** Each note's target: its star, where its default spline ends. */
    readonly editorTargets: ReadonlyArray<readonly [x: number, y: number]>;
}

/**
 * Compiles the module (once; later calls give the same interface). Wrong
 * arguments throw a TypeError or a RangeError and never reach the module.
 */
export function loadVelmora(): Promise<Velmora>;
