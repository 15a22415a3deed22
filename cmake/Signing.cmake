# The one signing identity of every build folder: the release certificate and key named by TARNCTX_SIGN_CERT and
# TARNCTX_SIGN_KEY when CMake configures the build, else a test certificate made once in build/signing and shared
# by the architectures' folders, so that the libraries, the tool, the packages and the menu's package all carry
# the same signer. TARNCTX_TIMESTAMP_URL names a timestamp server; there is none by default (nothing reaches the
# network). The choice is written to signing-identity in the build folder for the scripts that sign packages.
set(tarnctx_publisher "CN=Velmora")
if(DEFINED ENV{TARNCTX_SIGN_CERT} AND DEFINED ENV{TARNCTX_SIGN_KEY})
  set(tarnctx_sign_cert $ENV{TARNCTX_SIGN_CERT})
  set(tarnctx_sign_key $ENV{TARNCTX_SIGN_KEY})
  message(STATUS "Signing with ${tarnctx_sign_cert}")
else()
  get_filename_component(signing_folder ${CMAKE_BINARY_DIR}/../signing ABSOLUTE)
  set(tarnctx_sign_cert ${signing_folder}/test-certificate.pem)
  set(tarnctx_sign_key ${signing_folder}/test-key.pem)
  if(NOT EXISTS ${tarnctx_sign_cert} OR NOT EXISTS ${tarnctx_sign_key})
    file(MAKE_DIRECTORY ${signing_folder})
    execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/make-test-certificate.sh ${tarnctx_publisher}
                            ${tarnctx_sign_cert} ${tarnctx_sign_key} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endif()
set(tarnctx_signing_identity ${CMAKE_BINARY_DIR}/signing-identity)
file(WRITE ${tarnctx_signing_identity} "${tarnctx_sign_cert}\n${tarnctx_sign_key}\n$ENV{TARNCTX_TIMESTAMP_URL}\n")

# Signs a program or library in place each time it is linked, before anything packs it.
function(tarnctx_sign target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_SOURCE_DIR}/tools/sign-file.sh ${tarnctx_signing_identity} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
