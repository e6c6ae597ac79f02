#pragma once
#  include "config.h"
#if defined(A) && !defined(B) \
    || C > 2
#  define JOIN(a, b) a ## b
#  define STR(x) #x
#  define MULTI(x) do { \
       foo(x);          \
   } while (0)
#elif 0
#  error "unsupported"
#else
#  warning "fallback"
#endif
#line 42 "other.h"
#ident "$Id$"
/* open comment at the end
