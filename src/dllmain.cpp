/*
 * The DLL's entry point, above every room of the library: at load it notes the module and does
 * nothing more (the settings wait for the first dialog call); at unload it gives back what the
 * picture classes hold.
 */
#include "base/module.h"
#include "picture/picture.h"

#ifdef _MSC_VER
/* MSVC's static runtime: seeds the stack cookie where the loader has not (cmake/hardening.cmake). */
extern "C" void __cdecl __security_init_cookie(void);
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
#ifdef _MSC_VER
    /* Before any function that checks the cookie: this entry point is the first code to run. */
    __security_init_cookie();
#endif
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        /* The module and nothing more: the settings wait for the first dialog call. */
        ModuleInstance = instance;
        break;
    case DLL_PROCESS_DETACH:
        /* Windows keeps a DLL's window classes after the DLL is unloaded; a class left behind
         * would point at a window procedure that is no longer mapped; and the thread-local slot
         * of the picture names goes back, so that loading again and again uses up none. When
         * the process itself is ending (reserved non-null) nothing needs releasing. */
        if (reserved == NULL)
            ReleasePictureControls();
        break;
    default:
        break;
    }
    return TRUE;
}
