// zebl compose SCENE -o JOB.spl: a spool file from a scene description.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "job/scene.h"

int ComposeCommand(int argc, char** argv) {
    const char* scene = nullptr;
    const char* output = nullptr;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
        } else if (!scene && argv[i][0] != '-') {
            scene = argv[i];
        } else {
            std::fputs(kComposeUsage, stderr);
            return 2;
        }
    }
    if (!scene || !output) {
        std::fputs(kComposeUsage, stderr);
        return 2;
    }
    SpoolJob job;
    std::string error;
    if (!ComposeSceneFile(sys::Widen(scene), &job, &error) ||
        !WriteSpoolFile(sys::Widen(output), job, &error)) {
        std::fprintf(stderr, "zebl compose: %s\n", error.c_str());
        return 1;
    }
    size_t pages = 0, bytes = 0;
    for (const SpoolRecord& r : job.records) {
        if (r.call == SpoolCall::EndPage) ++pages;
        bytes += r.data.size();
    }
    std::printf("%s: %zu pages, %zu spooler calls, %zu bytes of buffers\n", output, pages, job.records.size(),
                bytes);
    return 0;
}
