using System;

namespace Velmora
{
    /// <summary>Where the editor's client area, origin and targets are, in client
    /// pixels, as the editor maps them.</summary>
    public static class EditorGeometry
    {
        /// <summary>The editor's client size: the file's points are in its pixels, x to
        /// the right and y downwards from the top-left corner.</summary>
        public const int ClientWidth = 480;
        public const int ClientHeight = 360;

        /// <summary>Where the editor draws its white star and every default spline
        /// starts.</summary>
        public static Point Origin
        {
            get
            {
                Native.RequireSplineFile();
                Point origin;
                Native.velmora_editor_origin(out origin.X, out origin.Y);
                return origin;
            }
        }

        /// <summary>Note 0 to 3's target: where the editor draws its star and the note's
        /// default spline ends.</summary>
        public static Point Target(int note)
        {
            Native.RequireSplineFile();
            Point target;
            if (Native.velmora_editor_target(note, out target.X, out target.Y) == 0)
                throw new ArgumentOutOfRangeException("note", note, "notes are 0 to 3");
            return target;
        }

        /// <summary>The four notes' targets, by note number.</summary>
        public static Point[] Targets
        {
            get { return new[] { Target(0), Target(1), Target(2), Target(3) }; }
        }
    }
}
