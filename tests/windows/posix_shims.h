#pragma once
// The one POSIX call the shared command-line tests make that the Windows C runtime lacks.

#ifdef __cplusplus
extern "C" {
#endif
int setenv(const char* name, const char* value, int overwrite);
#ifdef __cplusplus
}
#endif
