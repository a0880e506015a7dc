#include "io/disk/file_read.h"
#include "io/disk/safe_write.h"
#include "tools/cli/cli_io.h"
#include "tools/cli/git_driver_word.h"
#include "tools/cli/options.h"
#include "tools/cli/path_kind.h"
#include "tools/cli/verb_support.h"
#include "tools/process/process.h"

namespace velmora::tool {

namespace {

const char* const kGitSetupHelp =
    "Usage: velmora-tool git-setup [--global]\n"
    "\n"
    "Makes git merge and diff Splines.xml with this velmora-tool (the program\n"
    "running now, wherever it is): sets merge.velmora.name, merge.velmora.driver\n"
    "(velmora-tool merge %O %A %B), merge.velmora.recursive (velmora-ancestors,\n"
    "the driver git uses to merge the common ancestors of a criss-cross merge:\n"
    "velmora-tool merge --virtual-base) and diff.velmora.command (velmora-tool\n"
    "diff --git) in the repository's configuration, or in yours with --global;\n"
    "and, in a repository, adds \"Splines.xml merge=velmora diff=velmora\" to the\n"
    ".gitattributes at its top unless git reports those attributes set for\n"
    "Splines.xml already (a line there for Splines.xml stays). It writes only a\n"
    ".gitattributes that is a regular file, never through a symbolic link.\n"
    "Prints what it changed; run again, it changes nothing.\n"
    "\n"
    "git keeps the drivers in .git/config, which a clone does not copy: run\n"
    "git-setup once in every clone (or once per user with --global), or git\n"
    "merges Splines.xml as text and leaves conflict markers in it.\n"
    "\n"
    "  -g, --global  the user's configuration (git config --global)\n"
    "\n"
    "Exit codes: 0 set up, 1 not in a repository (without --global), git\n"
    "failed, or .gitattributes cannot be written or is no regular file (the\n"
    "configuration is set all the same); 2 bad usage.\n";

const char* const kAttributes = "Splines.xml merge=velmora diff=velmora";

// Prints why a step failed; returns false.
bool Refuse(const std::string& message) {
    Failure("git-setup", message);
    return false;
}

// Whether git, asked in the work tree at `top`, reports both attributes set
// to velmora for Splines.xml, wherever they come from.
bool AttributesSet(const std::string& top) {
    const ChildExit attributes =
        RunProgram({"git", "-C", top, "check-attr", "merge", "diff", "--", "Splines.xml"}, true);
    return attributes.started && attributes.exitCode == 0 &&
           attributes.output == "Splines.xml: merge: velmora\nSplines.xml: diff: velmora\n";
}

class Setup {
public:
    explicit Setup(bool global)
        : m_scope(global ? "--global" : "--local"),
          m_where(global ? " in your git configuration" : " in the repository's configuration") {}

    // Sets `key` unless it holds `value` already; false after a message.
    bool Set(const std::string& key, const std::string& value) {
        const ChildExit now = RunProgram({"git", "config", m_scope, "--get", key}, true);
        if (!now.started)
            return Refuse(Printable(now.error));
        if (now.exitCode == 0 && now.output == value + "\n")
            return true;
        const ChildExit set = RunProgram({"git", "config", m_scope, "--replace-all", key, value});
        if (!set.started || set.exitCode != 0)
            return Refuse("git config " + m_scope + " " + key + " failed");
        m_report += "set " + key + m_where + ": " + Printable(value) + "\n";
        return true;
    }

    // Adds the attributes line to `top`/.gitattributes unless git reports
    // them set already; a line there for Splines.xml stays, and the one
    // added after it decides these two attributes. Only a regular file is
    // written: a symbolic link would lead outside the work tree, and git
    // does not read one anyway.
    bool Attribute(const std::string& top) {
        if (AttributesSet(top))
            return true;
        const std::string path = top + "/.gitattributes";
        const std::string shown = "\"" + Printable(path) + "\"";
        const PathInfo info = LookAt(path, false);
        if (info.kind == PathKind::kUnknown)
            return Refuse("could not inspect " + shown + ": " + info.error);
        const bool exists = info.kind != PathKind::kMissing;
        if (exists && info.kind != PathKind::kFile) {
            return Refuse((info.kind == PathKind::kLink
                               ? shown + " is a symbolic link, which git does not read"
                               : NotAFileText(shown, false)) +
                          "; it was left alone. Make it a file holding \"" + kAttributes +
                          "\", and run git-setup again");
        }
        const Input now = exists ? ReadInput(path) : Input{true, path, {}, {}};
        if (!now.ok)
            return Refuse(Printable(now.error));
        std::string text = now.bytes;
        if (!text.empty() && text.back() != '\n')
            text += '\n';
        const WriteOutcome written = ReplaceFile(path, text + kAttributes + "\n");
        if (!written.status.ok())
            return Refuse(Printable(written.status.reason));
        m_report += "added \"" + std::string(kAttributes) + "\" to " + Printable(path) + "\n";
        return true;
    }

    const std::string& Report() const { return m_report; }

private:
    std::string m_scope;
    std::string m_where;
    std::string m_report;
};

}  // namespace

const option kGitSetupLong[] = {{"global", no_argument, nullptr, 'g'}, {}};
const VerbOptions kGitSetupOptions{kGitSetupHelp, "g", kGitSetupLong, 2};

int RunGitSetupVerb(const Verb& verb, int argc, char** argv) {
    bool global = false;
    const auto handle = [&](int, const char*) {
        global = true;
        return true;
    };
    const VerbArguments args = ParseVerb(verb, argc, argv, handle, Operands::kAny);
    if (args.done)
        return *args.done;
    if (!args.operands.empty())
        return UsageError("git-setup", "takes no operands");

    const std::string program = RunningProgram();
    if (program.empty())
        return Failure("git-setup", "cannot tell where this program is (/proc/self/exe)");
    // git expands % in a driver's command and reads it through the shell line by line.
    if (program.find_first_of("%\n") != std::string::npos)
        return Failure("git-setup",
                       "git cannot run a program whose path holds '%' or a line end: \"" +
                           Printable(program) + "\"");
    const ChildExit top = RunProgram({"git", "rev-parse", "--show-toplevel"}, true);
    if (!top.started)
        return Failure("git-setup", Printable(top.error));
    const bool inRepository = top.exitCode == 0 && !top.output.empty();
    if (!global && !inRepository)
        return Failure("git-setup",
                       "not in a git repository (--global sets up your own configuration)");

    Setup setup(global);
#ifdef _WIN32
    const std::string tool = GitDriverWord(program, PathStyle::kWindows);
#else
    const std::string tool = GitDriverWord(program, PathStyle::kPosix);
#endif
    if (!setup.Set("merge.velmora.name", "Velmora spline merge") ||
        !setup.Set("merge.velmora.driver", tool + " merge %O %A %B") ||
        !setup.Set("merge.velmora.recursive", "velmora-ancestors") ||
        !setup.Set("merge.velmora-ancestors.name", "Velmora spline merge of common ancestors") ||
        !setup.Set("merge.velmora-ancestors.driver", tool + " merge --virtual-base %O %A %B") ||
        !setup.Set("diff.velmora.command", tool + " diff --git"))
        return 1;
    // The configuration stays set, and is told, when .gitattributes cannot be.
    if (inRepository && !setup.Attribute(top.output.substr(0, top.output.size() - 1))) {
        Emit("git-setup", "-", setup.Report());
        return 1;
    }
    if (setup.Report().empty())
        return Emit("git-setup", "-", "git-setup: already set up, nothing changed\n");
    return Emit("git-setup", "-",
                setup.Report() +
                    (global ? "git does not copy your configuration to other users or machines: "
                              "run \"velmora-tool git-setup\" there too.\n"
                            : "git does not copy .git/config to a clone: every clone of this "
                              "repository must run \"velmora-tool git-setup\" once, or git "
                              "merges Splines.xml as text and leaves conflict markers in it.\n"));
}

}  // namespace velmora::tool
