# The installable package: cmake --install build/windows --prefix dist
install(TARGETS TinStarWarden LIBRARY DESTINATION . RUNTIME DESTINATION .)
