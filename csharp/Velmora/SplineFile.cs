using System;
using System.Runtime.InteropServices;
using System.Text;

namespace Velmora
{
    /// <summary>What reading Splines.xml found.</summary>
    public enum Status
    {
        /// <summary>Read in full.</summary>
        Loaded = 0,
        /// <summary>Read up to Line:Column; what follows was not read.</summary>
        Partial = 1,
        /// <summary>There is no file.</summary>
        Missing = 2,
        /// <summary>Zero bytes or only white space.</summary>
        Empty = 3,
        /// <summary>Cannot be read, is refused by a limit, or is no file the editor reads.</summary>
        Unreadable = 4,
    }

    /// <summary>Splines.xml read as the Velmora editor reads it at start-up, from disk
    /// or from memory, with the same rules, limits and repairs. It never creates,
    /// changes or locks a file.</summary>
    public sealed class SplineFile
    {
        /// <summary>What was found.</summary>
        public Status Status { get; private set; }

        /// <summary>For a game's log: what was wrong with an unreadable file, or why
        /// reading a partial one stopped; "" otherwise.</summary>
        public string Reason { get; private set; }

        /// <summary>Where the reason applies, from 1; 0 when unknown.</summary>
        public int Line { get; private set; }

        /// <summary>Where the reason applies, from 1; 0 when unknown.</summary>
        public int Column { get; private set; }

        /// <summary>Notes 0 to 3, each its splines in order, each its control points,
        /// as the editor shows them: a note the file does not name, or leaves without
        /// splines, holds its default spline.</summary>
        public Point[][][] Notes { get; private set; }

        /// <summary>Reads the file at <paramref name="path"/> (passed to the system as
        /// UTF-8). Never throws for a bad or missing file; Status says what was
        /// found.</summary>
        public static SplineFile Read(string path)
        {
            if (path == null)
                throw new ArgumentNullException("path");
            if (path.IndexOf('\0') >= 0)
                throw new ArgumentException("the path holds a NUL character", "path");
            Native.RequireSplineFile();
            byte[] encoded = Encoding.UTF8.GetBytes(path + "\0");
            return From(Native.velmora_file_read(encoded));
        }

        /// <summary>Reads a file's bytes from memory (an asset, say) as Read reads them
        /// from disk; never Status.Missing.</summary>
        public static SplineFile Parse(byte[] bytes)
        {
            if (bytes == null)
                throw new ArgumentNullException("bytes");
            Native.RequireSplineFile();
            return From(Native.velmora_file_parse(bytes, (UIntPtr)bytes.Length));
        }

        static SplineFile From(IntPtr file)
        {
            if (file == IntPtr.Zero)
                throw new OutOfMemoryException("the spline file could not be read");
            try
            {
                var notes = new Point[4][][];
                for (int note = 0; note < notes.Length; ++note)
                {
                    ulong count = (ulong)Native.velmora_file_spline_count(file, note);
                    notes[note] = new Point[count][];
                    for (ulong s = 0; s < count; ++s)
                        notes[note][s] = Points(file, note, (UIntPtr)s);
                }
                return new SplineFile {
                    Status = (Status)Native.velmora_file_status(file),
                    Reason = Utf8(Native.velmora_file_reason(file)),
                    Line = Native.velmora_file_line(file),
                    Column = Native.velmora_file_column(file),
                    Notes = notes,
                };
            }
            finally
            {
                Native.velmora_file_free(file);
            }
        }

        static Point[] Points(IntPtr file, int note, UIntPtr spline)
        {
            ulong count = (ulong)Native.velmora_file_points(file, note, spline, null, UIntPtr.Zero);
            var points = new Point[checked((int)count)];
            Native.velmora_file_points(file, note, spline, points, (UIntPtr)count);
            return points;
        }

        // The library's text is UTF-8 and ends with a NUL.
        static string Utf8(IntPtr text)
        {
            int length = 0;
            while (Marshal.ReadByte(text, length) != 0)
                ++length;
            var bytes = new byte[length];
            Marshal.Copy(text, bytes, 0, length);
            return Encoding.UTF8.GetString(bytes);
        }
    }
}
