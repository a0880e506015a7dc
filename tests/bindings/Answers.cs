// The C# binding's answers to cases.txt, printed as answers.cpp prints the C
// library's: the two texts must be the same.
//
//   mono Answers.exe CASES CORPUS
//   mono Answers.exe --missing-library   (the libraries cannot be found)
using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Linq;
using System.Text;
using Velmora;

static class Answers
{
    static string Bits(double value)
    {
        return double.IsNaN(value) ? "nan" : BitConverter.DoubleToInt64Bits(value).ToString("x16");
    }

    static IEnumerable<double> Distances(double length)
    {
        var distances = new List<double> { -1.0, double.NegativeInfinity, double.NaN, 0.0 };
        foreach (double fraction in new[] { 0.001, 0.25, 0.5, 0.75, 1.0 })
            distances.Add(length * fraction);
        distances.Add(length + 1.0);
        distances.Add(double.PositiveInfinity);
        return distances;
    }

    static string Pairs(IEnumerable<Point> points)
    {
        return string.Concat(points.Select(p => " " + p.X + " " + p.Y));
    }

    static void Curve(TextWriter output, string label, Point[] points)
    {
        Point[] samples = Velmora.Curve.Sample(points);
        PrecisePoint[] precise = Velmora.Curve.SamplePrecise(points);
        output.Write(label + " samples " + samples.Length + ":" + Pairs(samples) + "\n");
        output.Write(label + " precise " + precise.Length + ":" +
                     string.Concat(precise.Select(p => " " + Bits(p.X) + " " + Bits(p.Y))) + "\n");
        using (var path = new CurvePath(points))
        {
            output.Write(label + " length " + Bits(path.Length) + "\n");
            foreach (double distance in Distances(path.Length))
            {
                PrecisePoint at = path.PointAt(distance);
                PrecisePoint direction = path.DirectionAt(distance);
                output.Write(label + " at " + Bits(distance) + ": " + Bits(at.X) + " " + Bits(at.Y) +
                             " direction " + Bits(direction.X) + " " + Bits(direction.Y) + "\n");
            }
        }
    }

    static void File(TextWriter output, string label, SplineFile file)
    {
        output.Write(label + " status " + (int)file.Status + " line " + file.Line + " column " +
                     file.Column + "\n" + label + " reason " + file.Reason + "\n");
        for (int note = 0; note < file.Notes.Length; ++note)
            for (int s = 0; s < file.Notes[note].Length; ++s)
                output.Write(label + " note " + note + " spline " + s + ":" +
                             Pairs(file.Notes[note][s]) + "\n");
    }

    static int Main(string[] args)
    {
        System.Threading.Thread.CurrentThread.CurrentCulture = CultureInfo.InvariantCulture;
        if (args.Length == 1 && args[0] == "--missing-library")
        {
            try
            {
                Velmora.Curve.Sample(new Point[0]);
                Console.WriteLine("the library was found");
                return 1;
            }
            catch (DllNotFoundException e)
            {
                Console.WriteLine(e.Message);
                return 0;
            }
        }
        var output = new StreamWriter(Console.OpenStandardOutput(), new UTF8Encoding(false));
        int number = 0;
        foreach (string line in System.IO.File.ReadAllLines(args[0]))
        {
            string[] words = line.Split(new[] { ' ' }, StringSplitOptions.RemoveEmptyEntries);
            if (words.Length == 0 || words[0].StartsWith("#"))
                continue;
            ++number;
            if (words[0] == "curve")
            {
                int[] values = words.Skip(1).Select(int.Parse).ToArray();
                var points = new Point[values.Length / 2];
                for (int i = 0; i < points.Length; ++i)
                    points[i] = new Point(values[2 * i], values[2 * i + 1]);
                Curve(output, "curve " + number, points);
            }
            else if (words[0] == "file" || words[0] == "missing")
            {
                string path = Path.Combine(args[1], words[1]);
                byte[] bytes = System.IO.File.Exists(path) ? System.IO.File.ReadAllBytes(path)
                                                           : new byte[0];
                File(output, "read " + words[1], SplineFile.Read(path));
                File(output, "parse " + words[1], SplineFile.Parse(bytes));
            }
            else if (words[0] == "geometry")
            {
                Point origin = EditorGeometry.Origin;
                output.Write("geometry client " + EditorGeometry.ClientWidth + " " +
                             EditorGeometry.ClientHeight + " origin " + origin.X + " " + origin.Y +
                             " targets" + Pairs(EditorGeometry.Targets) + "\n");
            }
        }
        output.Flush();
        return 0;
    }
}
