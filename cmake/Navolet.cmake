# One library per source folder: every .cpp in the folder belongs to it.
function(navolet_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
    navolet_product_code(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# The product (Navolet.exe, the demo camera and the libraries they are made of) throws
# nothing, asks no type at run time and has no local static initialised at run time, so
# it is built without the runtime for any of that (a guarded static would bring the
# library's guard, and the exception runtime behind it). Each function and datum gets
# its own section, so the link can drop what nothing calls. -Wconversion flags every
# implicit narrowing: on 64-bit that is where a pointer-sized or size_t value would lose
# its upper half. Every function with a local array or a local whose address is taken
# checks a stack cookie on its way out (platform/StackGuard.cpp seeds it and acts on a
# broken one).
function(navolet_product_code target)
  target_compile_options(${target} PRIVATE
    -fno-exceptions -fno-rtti -fno-threadsafe-statics -ffunction-sections -fdata-sections -Wconversion
    -fstack-protector-strong)
  # A file name the compiler writes (__FILE__, debug records) names no folder of this machine.
  target_compile_options(${target} PRIVATE
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
  # 32-bit Windows unwinds by frame chain, so its unwind tables would only serve C++
  # exceptions; on 64-bit they are the system's own unwind data and stay.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables)
  endif()
endfunction()

# A product binary: unused sections dropped, and a map file beside it that shows what
# came from which library. The linker stamps the PE header (and a DLL's export table)
# with SOURCE_DATE_EPOCH from its environment: the commit's time (SourceDate.cmake). A new
# time is a new link command, so the binary is linked again.
# What a security review reads in the headers is asked for, not left to the linker's
# defaults: a relocatable image (ASLR, high-entropy on 64-bit) that runs with DEP; a 32-bit
# one is marked as registering no frame-based exception handler, which it does not (the
# packages test looks), so that no handler found on its stack is ever called.
function(navolet_product_binary target)
  navolet_product_code(${target})
  target_link_options(${target} PRIVATE -Wl,--gc-sections -Wl,-Map=${CMAKE_BINARY_DIR}/${target}.map
                      -Wl,--dynamicbase -Wl,--nxcompat)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--no-seh)
  else()
    target_link_options(${target} PRIVATE -Wl,--high-entropy-va)
  endif()
  set_target_properties(${target} PROPERTIES
    CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;SOURCE_DATE_EPOCH=${NAVOLET_SOURCE_DATE_EPOCH}")
endfunction()
