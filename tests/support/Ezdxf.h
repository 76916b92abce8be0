// Checks a saved drawing with an independent DXF reader: Debian's python3-ezdxf, run by
// the system python (tools/deps.sh installs it). The reader must load the file and its
// audit must find nothing to report or repair.
#pragma once

#include <string>

#include "support/RunCli.h"

namespace kerbon::test {

// Empty when the file loads and the audit finds no error and repairs nothing; otherwise what went wrong
// (also when the reader cannot be run at all).
inline std::string ezdxfAudit(const TempDir& tmp, const std::string& path)
{
    static const char* const program =
        "import sys\n"
        "try:\n"
        "    import ezdxf\n"
        "except ImportError:\n"
        "    print('python3-ezdxf is not installed (tools/deps.sh installs it)')\n"
        "    sys.exit(3)\n"
        "try:\n"
        "    doc = ezdxf.readfile(sys.argv[1])\n"
        "except Exception as e:\n"
        "    print('ezdxf cannot read the file:', e)\n"
        "    sys.exit(1)\n"
        "a = doc.audit()\n"
        "for e in a.errors:\n"
        "    print('audit error:', e.message)\n"
        "for e in a.fixes:\n"
        "    print('audit fix:', e.message)\n"
        "sys.exit(1 if a.errors or a.fixes else 0)\n";
    const std::string script = tmp.path("ezdxf_audit.py");
    writeBytes(script, program);
    const CliRun r = runShell(tmp, "/usr/bin/python3 " + shq(script) + " " + shq(path));
    if (r.status == 0)
        return {};
    return "ezdxf audit of " + path + " (exit " + std::to_string(r.status) + "): " + r.out +
           r.err;
}

}  // namespace kerbon::test
