# Warnings and sanitizers for every target of the project, through one interface target.
add_library(velbor_compile_options INTERFACE)
target_compile_options(velbor_compile_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wnon-virtual-dtor -Woverloaded-virtual
  $<$<BOOL:${VELBOR_WARNINGS_AS_ERRORS}>:-Werror>)

if(VELBOR_SANITIZE)
  target_compile_options(velbor_compile_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(velbor_compile_options INTERFACE -fsanitize=address,undefined)
endif()

if(WIN32)
  # Unicode Win32 API, no min/max macros, and a static runtime so that the
  # executables need no MinGW DLL beside them. Windows 7 SP1 is the oldest system
  # served: a newer function is looked up at run time, never imported.
  target_compile_definitions(velbor_compile_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  target_link_options(velbor_compile_options INTERFACE -static)
endif()
