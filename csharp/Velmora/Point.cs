using System;
using System.Runtime.InteropServices;

namespace Velmora
{
    /// <summary>A point in the editor's client pixels: x to the right, y downwards.</summary>
    /// <remarks>Laid out as the C interface's x,y int32 pairs, so arrays of it
    /// pass to the library without a copy.</remarks>
    [StructLayout(LayoutKind.Sequential)]
    public struct Point : IEquatable<Point>
    {
        public int X;
        public int Y;

        public Point(int x, int y)
        {
            X = x;
            Y = y;
        }

        public bool Equals(Point other) { return X == other.X && Y == other.Y; }
        public override bool Equals(object obj) { return obj is Point && Equals((Point)obj); }
        public override int GetHashCode() { return X * 31 + Y; }
        public override string ToString() { return "(" + X + ", " + Y + ")"; }
        public static bool operator ==(Point a, Point b) { return a.Equals(b); }
        public static bool operator !=(Point a, Point b) { return !a.Equals(b); }
    }

    /// <summary>A sample of the curve before truncation to whole pixels, a point
    /// along a path, or a direction of travel.</summary>
    [StructLayout(LayoutKind.Sequential)]
    public struct PrecisePoint : IEquatable<PrecisePoint>
    {
        public double X;
        public double Y;

        public PrecisePoint(double x, double y)
        {
            X = x;
            Y = y;
        }

        public bool Equals(PrecisePoint other) { return X.Equals(other.X) && Y.Equals(other.Y); }
        public override bool Equals(object obj)
        {
            return obj is PrecisePoint && Equals((PrecisePoint)obj);
        }
        public override int GetHashCode() { return X.GetHashCode() * 31 + Y.GetHashCode(); }
        public override string ToString() { return "(" + X.ToString("R") + ", " + Y.ToString("R") + ")"; }
    }
}
