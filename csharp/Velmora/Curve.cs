using System;

namespace Velmora
{
    /// <summary>The curve the Velmora editor draws through a spline's control points.</summary>
    public static class Curve
    {
        /// <summary>The samples the editor draws through <paramref name="points"/>, in
        /// client pixels: the first is the first point, the last the last point. Empty
        /// for fewer than two points. The same bit for bit on every machine.</summary>
        public static Point[] Sample(Point[] points)
        {
            Check(points);
            Native.RequireCurve();
            var count = (UIntPtr)points.Length;
            ulong total = (ulong)Native.velmora_curve(points, count, null, UIntPtr.Zero);
            var samples = new Point[checked((int)total)];
            if (total > 0 &&
                (ulong)Native.velmora_curve(points, count, samples, (UIntPtr)total) != total)
                throw new OutOfMemoryException("the curve could not be sampled");
            return samples;
        }

        /// <summary>The same samples before truncation to whole pixels: as many, and
        /// truncating each coordinate toward zero gives Sample's (which is clamped to
        /// the 32-bit range where a curve leaves it).</summary>
        public static PrecisePoint[] SamplePrecise(Point[] points)
        {
            Check(points);
            Native.RequireCurve();
            var count = (UIntPtr)points.Length;
            ulong total = (ulong)Native.velmora_curve_precise(points, count, null, UIntPtr.Zero);
            var samples = new PrecisePoint[checked((int)total)];
            if (total > 0 && (ulong)Native.velmora_curve_precise(points, count, samples,
                                                                 (UIntPtr)total) != total)
                throw new OutOfMemoryException("the curve could not be sampled");
            return samples;
        }

        internal static void Check(Point[] points)
        {
            if (points == null)
                throw new ArgumentNullException("points");
        }
    }
}
