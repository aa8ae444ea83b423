# Compiler settings every target of the project takes.

set(ZARNO_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wconversion -Wsign-conversion -Wnull-dereference -Wformat -Wformat-security -Wimplicit-fallthrough)
if(ZARNO_WERROR)
    list(APPEND ZARNO_WARNINGS -Werror)
endif()

if(ZARNO_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
elseif(ZARNO_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT ZARNO_SANITIZE STREQUAL "")
    message(FATAL_ERROR "ZARNO_SANITIZE must be empty, 'address' or 'thread'")
endif()

# zarno_defaults(target): warnings and include root for one of our own targets.
function(zarno_defaults target)
    target_compile_options(${target} PRIVATE ${ZARNO_WARNINGS})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
endfunction()
