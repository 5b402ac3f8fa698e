# The Windows program and what its release files are made from.
# One file: the system's own controls, linked statically, nothing to install.
target_sources(velbrin PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/velbrin.rc)
# `cmake --install --strip` writes the PE header anew, and strip dates it by
# SOURCE_DATE_EPOCH or else by the clock: with the release's date, the exe
# installed by hand is the released one.
install(CODE "set(ENV{SOURCE_DATE_EPOCH} ${VELBRIN_SOURCE_DATE_EPOCH})")
install(TARGETS velbrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# What tools/release.sh packs beside it: the installer's source and the
# zip's text file, filled from the same values as the version resource.
# One product code for each version, derived from it: a newer version is a new
# product, two builds of one version are the same product.
string(UUID VELBRIN_PRODUCT_CODE NAMESPACE ${VELBRIN_UPGRADE_CODE} NAME ${PROJECT_VERSION}
       TYPE SHA1 UPPER)
configure_file(velbrin.wxs.in ${CMAKE_CURRENT_BINARY_DIR}/velbrin.wxs @ONLY)
configure_file(windows-readme.txt.in ${CMAKE_CURRENT_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)
