# The tests run the programs they build. An x86-64 kernel built without
# 32-bit support cannot run a 32-bit build's programs at all, so there the
# tests run them under qemu-i386 (Debian's qemu-user): the same code, the same
# expected output. TESSVARC_TEST_RUNNER names the program that runs them;
# empty runs them directly. Unset, the configuration finds out which it needs.
if(NOT DEFINED TESSVARC_TEST_RUNNER)
  set(runner "")
  if(TESSVARC_M32)
    set(probe_dir ${CMAKE_BINARY_DIR}/run_probe)
    file(WRITE ${probe_dir}/probe.cpp "int main() { return 0; }\n")
    try_run(probe_ran probe_built ${probe_dir} ${probe_dir}/probe.cpp
            COMPILE_DEFINITIONS -m32 LINK_OPTIONS -m32)
    if(probe_built AND NOT probe_ran STREQUAL "0")
      find_program(QEMU_I386 qemu-i386)
      if(QEMU_I386)
        set(runner ${QEMU_I386})
        message(STATUS "This kernel cannot run 32-bit programs: the tests run them under ${QEMU_I386}")
      else()
        message(WARNING "This kernel cannot run 32-bit programs and qemu-i386 is not installed "
                        "(Debian package qemu-user): the 32-bit tests cannot run.")
      endif()
    endif()
  endif()
  set(TESSVARC_TEST_RUNNER "${runner}" CACHE STRING
      "Program that runs the built programs in the tests (empty: run them directly)")
endif()

# Every test program made from here on is started through the runner.
set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSVARC_TEST_RUNNER})
