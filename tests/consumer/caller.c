/*
 * A driver component's smallest use of dxdlg.dll, linked to it by import library: it checks that
 * the import library bound each export to the one that the .def's ordinal names, and calls the
 * exports that show nothing. Written in C89, as the header promises to work there.
 * Exit code: 0, or the number of the first check that failed.
 */
#include <dxdlg.h>

/* The one function type that converts to and from any other without a warning. */
typedef void (*AnyFunction)(void);

static int HasOrdinal(AnyFunction imported, HMODULE module, WORD ordinal)
{
    return imported == (AnyFunction)GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
}

static int CheckExports(void)
{
    /* Each export through the header's function-pointer type: a type that no longer matches its
     * declaration breaks a build with warnings as errors. */
    PFN_DiskFulErrorDialog diskFul = DiskFulErrorDialog;
    PFN_FRegisterBitmapControl registerControl = FRegisterBitmapControl;
    PFN_FRegisterBitmapControlMP registerControlMP = FRegisterBitmapControlMP;
    PFN_MemfullErrorDialog memfull = MemfullErrorDialog;
    PFN_OpenDuplexDlg openDuplex = OpenDuplexDlg;
    PFN_OpenDuplexDlgMP openDuplexMP = OpenDuplexDlgMP;
    PFN_RawWarningDialog rawWarning = RawWarningDialog;
    HMODULE module = GetModuleHandleA("dxdlg.dll");

    if (!module)
        return 1;
    if (!HasOrdinal((AnyFunction)diskFul, module, 1) ||
        !HasOrdinal((AnyFunction)registerControl, module, 2) ||
        !HasOrdinal((AnyFunction)registerControlMP, module, 3) ||
        !HasOrdinal((AnyFunction)memfull, module, 4) ||
        !HasOrdinal((AnyFunction)openDuplex, module, 5) ||
        !HasOrdinal((AnyFunction)openDuplexMP, module, 6) ||
        !HasOrdinal((AnyFunction)rawWarning, module, 7))
        return 2;
    if (registerControl(NULL) != 1 || registerControlMP(NULL) != 1)
        return 3;
    /* No device settings to lock: the duplex dialog is refused without showing anything. All
     * eight arguments are passed, four of them on the stack. */
    if (openDuplex(NULL, NULL, 0, 0, 0x0409, NULL, NULL, NULL) != -1)
        return 4;
    return 0;
}

#ifdef CALLER_WITHOUT_C_RUNTIME
/* The entry point of a program linked without the C runtime. It ends the process itself:
 * returning would only end the thread. */
void WINAPI CallerEntry(void)
{
    ExitProcess((UINT)CheckExports());
}
#else
int main(void)
{
    return CheckExports();
}
#endif
