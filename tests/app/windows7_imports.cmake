# Fails when a program imports a DLL or a function that Windows 7 SP1 does not have: the
# loader would refuse to start it there ("entry point not found").
# cmake -DOBJDUMP=<objdump> -DPROGRAMS=<exe>[;<exe>...] -P windows7_imports.cmake
cmake_minimum_required(VERSION 3.25)

# The system DLLs the programs may use; all of them ship with Windows 7.
set(allowed_dlls ADVAPI32.dll COMCTL32.dll GDI32.dll KERNEL32.dll msvcrt.dll OLE32.dll SHELL32.dll USER32.dll
    UxTheme.dll)
# Functions of those DLLs known to be newer than Windows 7 SP1 (as shipped, no updates).
set(newer_functions
    # user32, Windows 10 1607 and later
    GetDpiForWindow GetDpiForSystem AdjustWindowRectExForDpi GetSystemMetricsForDpi SystemParametersInfoForDpi
    EnableNonClientDpiScaling SetThreadDpiAwarenessContext GetWindowDpiAwarenessContext
    GetAwarenessFromDpiAwarenessContext AreDpiAwarenessContextsEqual
    # user32, Windows 10 1703 and later
    SetProcessDpiAwarenessContext
    # kernel32, Windows 8 and later
    GetSystemTimePreciseAsFileTime CreateFile2 GetCurrentThreadStackLimits
    # kernel32, Windows 10 1607 and later
    SetThreadDescription GetThreadDescription)

if(NOT OBJDUMP OR NOT PROGRAMS)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=... -DPROGRAMS=... -P windows7_imports.cmake")
endif()
string(TOLOWER "${allowed_dlls}" allowed_lower)

set(problems "")
foreach(program IN LISTS PROGRAMS)
  # binutils translates its headings (LANG=ja_JP.UTF-8): read them in the C locale.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${OBJDUMP} -p ${program} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${program} failed (${rc})")
  endif()
  get_filename_component(name ${program} NAME)
  string(REPLACE "\n" ";" lines "${dump}")
  set(dll "")
  set(imports 0)
  set(in_imports FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "^The Import Tables")
      set(in_imports TRUE)
    elseif(line MATCHES "^The [A-Z]" OR line MATCHES "^PE File")
      set(in_imports FALSE)
    elseif(in_imports AND line MATCHES "DLL Name: ([^ \t]+)")
      set(dll ${CMAKE_MATCH_1})
      string(TOLOWER ${dll} dll_lower)
      if(NOT dll_lower IN_LIST allowed_lower)
        list(APPEND problems "${name}: imports ${dll}, not a Windows 7 system DLL of this list")
      endif()
    elseif(in_imports AND dll AND line MATCHES "^\t[0-9a-f]+\t +[0-9]+ +([A-Za-z_][A-Za-z0-9_@]*)")
      math(EXPR imports "${imports} + 1")
      if(CMAKE_MATCH_1 IN_LIST newer_functions)
        list(APPEND problems "${name}: imports ${CMAKE_MATCH_1} from ${dll}, which Windows 7 lacks")
      endif()
    endif()
  endforeach()
  if(imports EQUAL 0)
    list(APPEND problems "${name}: no imported function found: the objdump output was not understood")
  endif()
  message(STATUS "${name}: ${imports} imported functions checked")
endforeach()

if(problems)
  list(JOIN problems "\n" text)
  message(FATAL_ERROR "${text}")
endif()
