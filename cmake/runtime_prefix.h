/* Included before every source of the Windows build. Makes the standard
   library's string templates instantiate in our own objects instead of
   linking the prebuilt instantiations, which drag in the whole exception
   runtime (about 150 KB) even when nothing throws. */
#ifdef __cplusplus
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
#endif
