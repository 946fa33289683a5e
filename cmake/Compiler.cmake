# Warnings, Windows defines and static linking shared by every target.

# The project's warnings, for its own code only: the libraries link this target and hand it on to
# whatever links them; GoogleTest, built in the same tree, keeps its own.
add_library(vorelix_warnings INTERFACE)
if(MSVC)
  add_compile_options(/utf-8)
  target_compile_options(vorelix_warnings INTERFACE /W4 /permissive-)
else()
  target_compile_options(vorelix_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
endif()

# A program whose entry point is wWinMain or wmain: mingw-w64 needs to be told; MSVC finds it itself.
function(vorelix_unicode_entry target)
  if(MINGW)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

if(WIN32)
  enable_language(RC)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  if(MINGW)
    add_link_options(-static -static-libgcc -static-libstdc++)
  endif()
endif()

if(VORELIX_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Where the shared real recordings live: beside the checkout. Tests skip when it is absent.
get_filename_component(VORELIX_DEMOS_DIR "${CMAKE_SOURCE_DIR}/../shared/demos" ABSOLUTE)
