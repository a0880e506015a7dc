using System;
using System.Runtime.InteropServices;

namespace Velmora
{
    // The C interface of libvelmora-curve and libvelmora-splinefile. None of
    // its functions throws or calls back, so no exception can come out of
    // them; what can fail is loading the library, which the Require methods
    // turn into a DllNotFoundException that says which library is missing.
    internal static class Native
    {
        // Mono maps these through Velmora.dll.config, Unity to its plug-ins
        // (libvelmora-curve.so, velmora-curve.dll), .NET to lib*.so or *.dll.
        internal const string CurveLibrary = "velmora-curve";
        internal const string SplineFileLibrary = "velmora-splinefile";

        static volatile bool curveLoaded;
        static volatile bool splineFileLoaded;

        internal static void RequireCurve()
        {
            if (curveLoaded)
                return;
            try
            {
                velmora_path_length(IntPtr.Zero);
            }
            catch (DllNotFoundException e)
            {
                throw Missing(CurveLibrary, "libvelmora-curve.so.1", e);
            }
            curveLoaded = true;
        }

        internal static void RequireSplineFile()
        {
            if (splineFileLoaded)
                return;
            try
            {
                velmora_file_status(IntPtr.Zero);
            }
            catch (DllNotFoundException e)
            {
                throw Missing(SplineFileLibrary, "libvelmora-splinefile.so.1", e);
            }
            splineFileLoaded = true;
        }

        static DllNotFoundException Missing(string name, string soname, Exception cause)
        {
            return new DllNotFoundException(
                "Velmora needs the native library " + name + " (" + soname + " on Linux, " +
                name + ".dll on Windows) beside the program or on the library search path, " +
                "and it could not be loaded: " + cause.Message, cause);
        }

        [DllImport(CurveLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern UIntPtr velmora_curve([In] Point[] points, UIntPtr pointCount,
                                                     [Out] Point[] samples, UIntPtr capacity);

        [DllImport(CurveLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern UIntPtr velmora_curve_precise([In] Point[] points,
                                                             UIntPtr pointCount,
                                                             [Out] PrecisePoint[] samples,
                                                             UIntPtr capacity);

        [DllImport(CurveLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern IntPtr velmora_path_new([In] Point[] points, UIntPtr pointCount);

        [DllImport(CurveLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern double velmora_path_length(IntPtr path);

        [DllImport(CurveLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern void velmora_path_at(IntPtr path, double distance, out double x,
                                                    out double y);

        [DllImport(CurveLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern void velmora_path_direction(IntPtr path, double distance,
                                                           out double dx, out double dy);

        [DllImport(CurveLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern void velmora_path_free(IntPtr path);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern IntPtr velmora_file_read(byte[] path);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern IntPtr velmora_file_parse(byte[] bytes, UIntPtr size);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int velmora_file_status(IntPtr file);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern IntPtr velmora_file_reason(IntPtr file);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int velmora_file_line(IntPtr file);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int velmora_file_column(IntPtr file);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern UIntPtr velmora_file_spline_count(IntPtr file, int note);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern UIntPtr velmora_file_points(IntPtr file, int note, UIntPtr spline,
                                                           [Out] Point[] points,
                                                           UIntPtr capacity);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern void velmora_file_free(IntPtr file);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern void velmora_editor_origin(out int x, out int y);

        [DllImport(SplineFileLibrary, CallingConvention = CallingConvention.Cdecl)]
        internal static extern int velmora_editor_target(int note, out int x, out int y);
    }
}
