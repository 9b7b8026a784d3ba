/* What the system's own protections need to find in the DLL, and that a C runtime would provide
 * if the DLL had one: the load configuration, the stack cookie and the routine that ends the
 * process when a cookie was overwritten, and the control-flow guard's check pointers. Built with
 * clang and lld on mingw-w64 (cmake/hardening.cmake); with MSVC the static runtime provides all
 * of it, and its entry point calls __security_init_cookie.
 *
 * The loader reads the load configuration before the entry point runs: it replaces a security
 * cookie that still holds the platform's default value with a random one, and, where the system
 * enforces the control-flow guard, points the check pointers at its own checks and reads the table
 * of the functions that an indirect call may reach (lld makes the table and the __guard_ symbols). */
#include <windows.h>

extern "C" {

/* The stack cookie, which -fstack-protector-strong places in the frame of every function with a
 * local array and checks before it returns. It holds the default value until the loader seeds
 * it: the loader seeds only a cookie that holds exactly this value. */
ULONG_PTR __stack_chk_guard = 0x00002B992DDFA232;

void __fastfail(unsigned int code);

/* A function found its cookie overwritten: the process ends at once, without running any handler
 * of its own, with the status STATUS_STACK_BUFFER_OVERRUN (0xC0000409). */
__declspec(noreturn) void __stack_chk_fail(void)
{
    __fastfail(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE);
}

/* Instrumented code calls through one of these before an indirect call (ARM64: the target in
 * x15) or for it (x86-64: the target in rax). Until the loader replaces them they check nothing:
 * an x86-64 call goes straight on to its target (src/runtime/guard-x64.S). They live with the
 * read-only data, as the loader expects. */
static void CheckNothing(void)
{
}
#if defined(__x86_64__)
void DispatchWithoutCheck(void);
#define DXDLG_GUARD_DISPATCH DispatchWithoutCheck
#else
#define DXDLG_GUARD_DISPATCH CheckNothing
#endif
extern void (*const __guard_check_icall_fptr)(void), (*const __guard_dispatch_icall_fptr)(void);
__attribute__((section(".00cfg"))) void (*const __guard_check_icall_fptr)(void) = CheckNothing;
__attribute__((section(".00cfg"))) void (*const __guard_dispatch_icall_fptr)(void) = DXDLG_GUARD_DISPATCH;

/* What lld defines for the guard: the tables by their address, the counts and flags as the
 * symbols' values. */
extern const BYTE __guard_fids_table[], __guard_fids_count[], __guard_flags[];
extern const BYTE __guard_iat_table[], __guard_iat_count[];
extern const BYTE __guard_longjmp_table[], __guard_longjmp_count[];
extern const BYTE __guard_eh_cont_table[], __guard_eh_cont_count[];

/* The 64-bit load configuration, up to the fields that the guard's EH continuation table adds
 * (mingw-w64's headers stop at SEHandlerCount). */
struct LoadConfiguration {
    DWORD Size, TimeDateStamp;
    WORD MajorVersion, MinorVersion;
    DWORD GlobalFlagsClear, GlobalFlagsSet, CriticalSectionDefaultTimeout;
    ULONGLONG DeCommitFreeBlockThreshold, DeCommitTotalFreeThreshold, LockPrefixTable;
    ULONGLONG MaximumAllocationSize, VirtualMemoryThreshold, ProcessAffinityMask;
    DWORD ProcessHeapFlags;
    WORD CSDVersion, DependentLoadFlags;
    ULONGLONG EditList, SecurityCookie, SEHandlerTable, SEHandlerCount;
    ULONGLONG GuardCFCheckFunctionPointer, GuardCFDispatchFunctionPointer;
    ULONGLONG GuardCFFunctionTable, GuardCFFunctionCount;
    /* GuardFlags (a DWORD), then the code-integrity field's Flags and Catalog (WORDs, zero): one
     * 64-bit field, because a static initialiser can hold a symbol's value only at the size of a
     * pointer. Both architectures are little-endian, so the flags come first. */
    ULONGLONG GuardFlags;
    DWORD CodeIntegrityCatalogOffset, CodeIntegrityReserved;
    ULONGLONG GuardAddressTakenIatEntryTable, GuardAddressTakenIatEntryCount;
    ULONGLONG GuardLongJumpTargetTable, GuardLongJumpTargetCount;
    ULONGLONG DynamicValueRelocTable, CHPEMetadataPointer;
    ULONGLONG GuardRFFailureRoutine, GuardRFFailureRoutineFunctionPointer;
    DWORD DynamicValueRelocTableOffset;
    WORD DynamicValueRelocTableSection, Reserved2;
    ULONGLONG GuardRFVerifyStackPointerFunctionPointer;
    DWORD HotPatchTableOffset, Reserved3;
    ULONGLONG EnclaveConfigurationPointer, VolatileMetadataPointer;
    ULONGLONG GuardEHContinuationTable, GuardEHContinuationCount;
};
static_assert(sizeof(LoadConfiguration) == 0x118, "the 64-bit load configuration's layout");

/* The linker finds the load configuration by this name. */
extern const LoadConfiguration _load_config_used;
const LoadConfiguration _load_config_used = {
    sizeof(LoadConfiguration), 0, 0, 0,
    0, 0, 0,
    0, 0, 0,
    0, 0, 0,
    0,
    0, 0,
    0, (ULONG_PTR)&__stack_chk_guard, 0, 0,
    (ULONG_PTR)&__guard_check_icall_fptr, (ULONG_PTR)&__guard_dispatch_icall_fptr,
    (ULONG_PTR)__guard_fids_table, (ULONG_PTR)__guard_fids_count,
    (ULONG_PTR)__guard_flags,
    0, 0,
    (ULONG_PTR)__guard_iat_table, (ULONG_PTR)__guard_iat_count,
    (ULONG_PTR)__guard_longjmp_table, (ULONG_PTR)__guard_longjmp_count,
    0, 0,
    0, 0,
    0,
    0, 0,
    0,
    0, 0,
    0, 0,
    (ULONG_PTR)__guard_eh_cont_table, (ULONG_PTR)__guard_eh_cont_count,
};

}
