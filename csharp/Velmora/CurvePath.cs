using System;

namespace Velmora
{
    /// <summary>The drawn curve as a path to move along at constant speed: the
    /// straight pieces between consecutive precise samples. Fewer than two points
    /// make an empty path (length 0, every point and direction (0, 0)); on a path of
    /// length 0 every point is its start and the direction is (0, 0).</summary>
    public sealed class CurvePath : IDisposable
    {
        IntPtr path;  // IntPtr.Zero for an empty path
        bool disposed;

        public CurvePath(Point[] points)
        {
            Curve.Check(points);
            Native.RequireCurve();
            if (points.Length < 2)
                return;
            path = Native.velmora_path_new(points, (UIntPtr)points.Length);
            if (path == IntPtr.Zero)
                throw new OutOfMemoryException("the path could not be built");
        }

        ~CurvePath() { Free(); }

        /// <summary>The sum of the pieces' lengths, added in order in double precision.</summary>
        public double Length
        {
            get
            {
                double length = Native.velmora_path_length(Handle());
                GC.KeepAlive(this);
                return length;
            }
        }

        /// <summary>The point <paramref name="distance"/> along the path from its start,
        /// interpolated on the piece where it falls. Below 0 (or NaN) gives the start,
        /// beyond Length the end.</summary>
        public PrecisePoint PointAt(double distance)
        {
            PrecisePoint p;
            Native.velmora_path_at(Handle(), distance, out p.X, out p.Y);
            GC.KeepAlive(this);
            return p;
        }

        /// <summary>The unit direction of travel at <paramref name="distance"/>, for
        /// turning a sprite: that of the piece the point lies on, the piece after it at
        /// a joint, the first piece below 0 (or NaN), the last at and beyond
        /// Length.</summary>
        public PrecisePoint DirectionAt(double distance)
        {
            PrecisePoint d;
            Native.velmora_path_direction(Handle(), distance, out d.X, out d.Y);
            GC.KeepAlive(this);
            return d;
        }

        public void Dispose()
        {
            Free();
            disposed = true;
            GC.SuppressFinalize(this);
        }

        IntPtr Handle()
        {
            if (disposed)
                throw new ObjectDisposedException("CurvePath");
            return path;
        }

        void Free()
        {
            if (path != IntPtr.Zero)
                Native.velmora_path_free(path);
            path = IntPtr.Zero;
        }
    }
}
