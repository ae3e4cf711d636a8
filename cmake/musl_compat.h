// Debian's libstdc++ headers were configured for glibc; these are the only
// glibc names they use that musl lacks.
#define __GLIBC_PREREQ(major, minor) 0
typedef struct __locale_struct* __locale_t;
