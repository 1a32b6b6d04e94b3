# Compiler settings shared by every Vornel target.
#
# The game's fixed-point arithmetic relies on 32-bit sums and differences that wrap on
# overflow, as two's-complement hardware does; -fwrapv makes that defined behaviour.
add_library(vornel_options INTERFACE)
target_compile_options(vornel_options INTERFACE -Wall -Wextra -fwrapv)
if(VORNEL_WERROR)
  target_compile_options(vornel_options INTERFACE -Werror)
endif()
if(VORNEL_SANITIZE)
  target_compile_options(vornel_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(vornel_options INTERFACE -fsanitize=address,undefined)
endif()
if(VORNEL_TSAN)
  target_compile_options(vornel_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(vornel_options INTERFACE -fsanitize=thread)
endif()
