add_library(quillet_warnings INTERFACE)
target_compile_options(quillet_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                                   -Wno-missing-field-initializers)
