// What the processor (and the system under it) lets the engine use beyond
// the instructions every supported processor has.
//
// The 64-bit build assumes SSE2, as every 64-bit x86 processor has it. The
// 32-bit Windows build must also run on Pentium-class processors without
// it, and on Windows releases that do not save the SSE registers across
// task switches (Windows 95 and NT 4), so there the answer comes from the
// processor's CPUID and the Windows version, asked once per process.
//
// AVX2 is never assumed: the processor must have it, and the system must
// save the 256-bit registers on a task switch, which the processor reports
// itself (OSXSAVE and the extended control register XCR0). The Windows
// releases the 32-bit build supports do not, so it screens with SSE2 there.
#pragma once

// True when SSE2 instructions may run in this process.
bool CpuHasSse2();

// True when AVX2 instructions (and the 256-bit registers) may run in this
// process.
bool CpuHasAvx2();
