#!/usr/bin/env bash
# check-imports.sh OBJDUMP BINARY...
# Lists every function each Windows binary imports and fails when one of them
# does not exist on Windows 2000 (the oldest NT the package runs on), so that a
# binary never refuses to load there. Wine offers all of these, so only a look
# at the import table catches them.
set -euo pipefail
objdump=$1; shift

# Functions that arrived with Windows XP or later and that mingw's runtimes,
# std::thread, std::filesystem or careless code can pull in.
forbidden='^(GetTickCount64|AddVectoredExceptionHandler|RemoveVectoredExceptionHandler|InitializeSRWLock|AcquireSRWLock(Exclusive|Shared)|ReleaseSRWLock(Exclusive|Shared)|TryAcquireSRWLock(Exclusive|Shared)|InitializeConditionVariable|SleepConditionVariable(CS|SRW)|WakeConditionVariable|WakeAllConditionVariable|InitOnce(Initialize|ExecuteOnce|BeginInitialize|Complete)|GetSystemTimePreciseAsFileTime|GetFinalPathNameByHandle[AW]|CreateSymbolicLink[AW]|GetModuleHandleEx[AW]|GetNativeSystemInfo|GetLogicalProcessorInformation(Ex)?|FlsAlloc|FlsFree|FlsGetValue|FlsSetValue|CreateEventEx[AW]|CreateMutexEx[AW]|CreateSemaphoreEx[AW]|InitializeCriticalSectionEx|GetCurrentProcessorNumber|QueryFullProcessImageName[AW]|SetFileInformationByHandle|GetFileInformationByHandleEx|CompareStringEx|LCMapStringEx|GetLocaleInfoEx|IsWow64Process|GetErrorMode|Wow64DisableWow64FsRedirection)$'

status=0
for binary in "$@"; do
    imports=$("$objdump" -p "$binary" | awk '
        /DLL Name:/ { dll = $3; next }
        dll != "" && /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ { print dll ":" $3 }
    ')
    bad=$(printf '%s\n' "$imports" | awk -F: -v re="$forbidden" '$2 ~ re { print }')
    if [ -n "$bad" ]; then
        echo "error: $(basename "$binary") imports functions that Windows 2000 does not have:" >&2
        printf '  %s\n' $bad >&2
        status=1
    fi
done
exit $status
