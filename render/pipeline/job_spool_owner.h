// The lifetime of a spool directory: the owner removes the directory and
// its files when it goes, however the job ends — at its end, aborted, after
// a failed write, or with the handle closed without an end of document.
#pragma once

#include <memory>

#include "pipeline/job_spool.h"

struct FBJobSpoolRemover {
    void operator()(FBJobSpool* spool) const;
};

using FBJobSpoolOwner = std::unique_ptr<FBJobSpool, FBJobSpoolRemover>;

// A new spool directory in the temporary folder; null when it cannot be
// made (the temporary folder's trouble has then been shown to the user).
FBJobSpoolOwner FBJobSpoolCreateDirectory();
