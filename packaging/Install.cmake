# Install rules: `cmake --install build --prefix P` lays the game out as
#
#   P/lib/skirrow/bin/{skirrow,skirrow-cl,skirrow-tool}   the programs
#   P/lib/skirrow/{resources,manual}                      links to ../../share/skirrow/...
#   P/share/skirrow/{resources,manual}                    the content tree
#   P/bin/{skirrow,skirrow-cl,skirrow-tool}               links to ../lib/skirrow/bin/...
#   P/share/applications/skirrow.desktop
#   P/share/icons/hicolor/<n>x<n>/apps/skirrow.png
#   P/share/man/man6/{skirrow,skirrow-cl,skirrow-tool}.6
#
# The programs find their resources at bin/../resources, relative to the real executable (the
# links in P/bin resolve to it), so the tree works wherever P is and may be read-only: the
# installed programs keep their saves in the user's data folder (src/platform/UserFolders.h).
#
# The content tree is written afresh by the content builder at install time, not copied from
# build/resources: a build tree's own runs save settings and scores there, and those must not
# ship. The builder takes well under a second.

set(SKIRROW_LIB_DIR lib/skirrow)
set(SKIRROW_SHARE_DIR share/skirrow)

# A build tree is portable: its programs save beside their own resources (see UserFolders.h).
# The marker is not installed.
file(WRITE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/skirrow.portable
  "This build tree keeps its saves in its own resources folder; installed copies do not.\n")

install(TARGETS skirrow skirrow-cl skirrow-tool RUNTIME DESTINATION ${SKIRROW_LIB_DIR}/bin)

# Relative links, made once in the build tree and installed as links.
set(link_dir ${CMAKE_BINARY_DIR}/packaging/links)
file(MAKE_DIRECTORY ${link_dir}/bin ${link_dir}/lib)
foreach(program skirrow skirrow-cl skirrow-tool)
  file(CREATE_LINK ../${SKIRROW_LIB_DIR}/bin/${program} ${link_dir}/bin/${program} SYMBOLIC)
  install(FILES ${link_dir}/bin/${program} DESTINATION bin)
endforeach()
foreach(tree resources manual)
  file(CREATE_LINK ../../${SKIRROW_SHARE_DIR}/${tree} ${link_dir}/lib/${tree} SYMBOLIC)
  install(FILES ${link_dir}/lib/${tree} DESTINATION ${SKIRROW_LIB_DIR})
endforeach()

# Each install stages its own tree, so that two installs at once (tests run in parallel) do not
# write into each other's.
install(CODE "
  string(RANDOM LENGTH 12 tag)
  set(stage \"${CMAKE_BINARY_DIR}/packaging/tree-\${tag}\")
  execute_process(COMMAND \"$<TARGET_FILE:skirrow-content>\" \"\${stage}\"
                  RESULT_VARIABLE built OUTPUT_QUIET)
  if(NOT built EQUAL 0)
    file(REMOVE_RECURSE \"\${stage}\")
    message(FATAL_ERROR \"the content builder failed (\${built})\")
  endif()
  # file(INSTALL) puts DESTDIR (set by cpack) in front of the destination by itself.
  set(share \"\${CMAKE_INSTALL_PREFIX}/share\")
  file(INSTALL \"\${stage}/resources\" \"\${stage}/manual\" DESTINATION \"\${share}/skirrow\")
  file(INSTALL \"\${stage}/icons/hicolor\" DESTINATION \"\${share}/icons\")
  file(REMOVE_RECURSE \"\${stage}\")
")

install(FILES ${CMAKE_CURRENT_LIST_DIR}/skirrow.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/skirrow.6 ${PROJECT_SOURCE_DIR}/docs/man/skirrow-cl.6
              ${PROJECT_SOURCE_DIR}/docs/man/skirrow-tool.6
        DESTINATION share/man/man6)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/skirrow)
