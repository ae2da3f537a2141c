# Compiler settings shared by every target of the project.
add_library(ct_options INTERFACE)
target_compile_features(ct_options INTERFACE cxx_std_20)
# Sources are UTF-8; every narrow literal becomes the GBK byte string the program works with.
# The fuzz build's clang knows no execution character set but UTF-8: there literals stay UTF-8
# (and the text conversions take code page 936 for UTF-8 there, so that texts meet UTF-16 alike).
target_compile_options(ct_options INTERFACE -Wall -Wextra -Wno-missing-field-initializers -finput-charset=UTF-8
                       $<$<NOT:$<BOOL:${CT_FUZZ}>>:-fexec-charset=GBK>)
target_include_directories(ct_options INTERFACE ${PROJECT_SOURCE_DIR})
if(WIN32)
  target_compile_definitions(ct_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # No runtime DLLs beyond those every Windows PC has.
  target_link_options(ct_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()
