#include "pipeline/job_spool_owner.h"

#include <new>

void FBJobSpoolRemover::operator()(FBJobSpool* spool) const {
    FBJobSpoolDelete(spool);
    delete spool;
}

FBJobSpoolOwner FBJobSpoolCreateDirectory() {
    FBJobSpoolOwner spool(new (std::nothrow) FBJobSpool());
    // A half-made directory goes with the owner.
    if (spool && !FBJobSpoolInit(spool.get(), u"")) spool.reset();
    return spool;
}
