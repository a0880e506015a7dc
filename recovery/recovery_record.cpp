#include "recovery/recovery_record.h"

#include <utility>

#include "recovery/byte_stream.h"
#include "recovery/digest.h"

namespace velmora {

namespace {

constexpr std::string_view kMagic = "VELMORA-RECOVERY";

constexpr std::size_t kPointBytes = 8;
constexpr std::size_t kCountBytes = 4;

// The kinds of note change.
constexpr uint8_t kSplineRun = 0;
constexpr uint8_t kPointRun = 1;

void WritePoints(ByteWriter& out, const Spline& points) {
    out.U32(static_cast<uint32_t>(points.size()));
    for (const Point& p : points) {
        out.I32(p.x);
        out.I32(p.y);
    }
}

Spline ReadPoints(ByteReader& in) {
    Spline points(in.Count(kPointBytes));
    for (Point& p : points) {
        p.x = in.I32();
        p.y = in.I32();
    }
    return points;
}

void WriteRun(ByteWriter& out, const Splice<Point>& run) {
    out.U32(run.front);
    out.U32(run.back);
    WritePoints(out, run.middle);
}

Splice<Point> ReadPointRun(ByteReader& in) {
    Splice<Point> run;
    run.front = in.U32();
    run.back = in.U32();
    run.middle = ReadPoints(in);
    return run;
}

void WriteRun(ByteWriter& out, const Splice<Spline>& run) {
    out.U32(run.front);
    out.U32(run.back);
    out.U32(static_cast<uint32_t>(run.middle.size()));
    for (const Spline& spline : run.middle)
        WritePoints(out, spline);
}

Splice<Spline> ReadSplineRun(ByteReader& in) {
    Splice<Spline> run;
    run.front = in.U32();
    run.back = in.U32();
    run.middle.resize(in.Count(kCountBytes));
    for (Spline& spline : run.middle)
        spline = ReadPoints(in);
    return run;
}

void WriteMeta(ByteWriter& out, const RecordMeta& meta) {
    out.I64(meta.time);
    out.U32(meta.changes);
    out.U8(meta.unsavedNotes);
    out.U8(meta.file.known ? 1 : 0);
    out.U64(meta.file.size);
    out.U64(meta.file.digest);
}

RecordMeta ReadMeta(ByteReader& in) {
    RecordMeta meta;
    meta.time = in.I64();
    meta.changes = in.U32();
    meta.unsavedNotes = in.U8();
    const uint8_t known = in.U8();
    meta.file.known = known == 1;
    meta.file.size = in.U64();
    meta.file.digest = in.U64();
    if (known > 1 || meta.unsavedNotes >= (1u << kNoteCount))
        in.Fail();
    return meta;
}

StateDelta ReadDelta(ByteReader& in) {
    StateDelta delta;
    delta.currentNote = in.I32();
    for (int32_t& index : delta.currentSpline)
        index = in.I32();
    const uint32_t changes = in.U32();
    if (changes > kNoteCount)
        in.Fail();
    delta.notes.resize(in.Ok() ? changes : 0);
    for (NoteChange& change : delta.notes) {
        change.note = in.U8();
        const uint8_t kind = in.U8();
        if (kind == kSplineRun) {
            change.splines = ReadSplineRun(in);
        } else if (kind == kPointRun) {
            change.inSpline = in.U32();
            change.points = ReadPointRun(in);
        } else {
            in.Fail();
        }
    }
    const uint8_t base = in.U8();
    if (base > static_cast<uint8_t>(WorkingBase::kCurrentSpline))
        in.Fail();
    delta.workingBase = static_cast<WorkingBase>(base);
    if (delta.workingBase != WorkingBase::kUnchanged)
        delta.working = ReadPointRun(in);
    return delta;
}

// Appends `payload` framed: its length and its digest first.
void AppendFramed(std::string& out, std::string_view payload) {
    ByteWriter frame(out);
    frame.U32(static_cast<uint32_t>(payload.size()));
    frame.U64(Digest64(payload));
    out.append(payload);
}

// The next framed payload, or none (and a failed reader) when it is cut
// short or its digest does not match.
std::string_view ReadFramed(ByteReader& in) {
    const uint32_t size = in.U32();
    const uint64_t digest = in.U64();
    const std::string_view payload = in.Bytes(size);
    if (!in.Ok() || Digest64(payload) != digest) {
        in.Fail();
        return {};
    }
    return payload;
}

bool ReadHeader(std::string_view bytes, CopyHeader& header) {
    ByteReader in(bytes);
    header.folder = in.Text();
    header.width = in.I32();
    header.height = in.I32();
    return in.Ok() && in.Left() == 0;
}

}  // namespace

FileFingerprint FingerprintOf(std::string_view bytes) {
    return FileFingerprint{true, bytes.size(), Digest64(bytes)};
}

std::string EncodeCopyStart(const CopyHeader& header) {
    std::string out(kMagic);
    ByteWriter(out).U32(kRecoveryFormatVersion);
    std::string fields;
    ByteWriter writer(fields);
    writer.Text(header.folder);
    writer.I32(header.width);
    writer.I32(header.height);
    AppendFramed(out, fields);
    return out;
}

std::string EncodeRecord(const RecordMeta& meta, const StateDelta& delta) {
    std::string payload;
    ByteWriter out(payload);
    WriteMeta(out, meta);
    out.I32(delta.currentNote);
    for (int32_t index : delta.currentSpline)
        out.I32(index);
    out.U32(static_cast<uint32_t>(delta.notes.size()));
    for (const NoteChange& change : delta.notes) {
        out.U8(change.note);
        if (change.inSpline < 0) {
            out.U8(kSplineRun);
            WriteRun(out, change.splines);
        } else {
            out.U8(kPointRun);
            out.U32(static_cast<uint32_t>(change.inSpline));
            WriteRun(out, change.points);
        }
    }
    out.U8(static_cast<uint8_t>(delta.workingBase));
    if (delta.workingBase != WorkingBase::kUnchanged)
        WriteRun(out, delta.working);
    std::string framed;
    framed.reserve(payload.size() + 12);
    AppendFramed(framed, payload);
    return framed;
}

DecodedCopy DecodeCopy(std::string_view bytes) {
    DecodedCopy copy;
    if (bytes.substr(0, kMagic.size()) != kMagic.substr(0, bytes.size())) {
        copy.status = CopyStatus::kNotACopy;
        return copy;
    }
    ByteReader in(bytes);
    in.Bytes(kMagic.size());
    const uint32_t version = in.U32();
    if (in.Ok() && version != kRecoveryFormatVersion) {
        copy.status = CopyStatus::kOtherVersion;
        return copy;
    }
    const std::string_view header = ReadFramed(in);
    if (!in.Ok() || !ReadHeader(header, copy.header))
        return copy;
    while (in.Left() > 0) {
        const std::string_view payload = ReadFramed(in);
        if (!in.Ok())
            break;
        // A record whose digest matches but whose content does not fit is
        // no crash's doing: nothing in such a copy is trusted.
        ByteReader record(payload);
        const RecordMeta meta = ReadMeta(record);
        StateDelta delta = ReadDelta(record);
        if (!record.Ok() || record.Left() != 0 || !ApplyDelta(copy.state, std::move(delta))) {
            copy.records = 0;
            return copy;
        }
        copy.meta = meta;
        ++copy.records;
    }
    copy.status = copy.records > 0 ? CopyStatus::kRead : CopyStatus::kDamaged;
    return copy;
}

}  // namespace velmora
