# Persistence sources, added to the plug-in's source list by src/CMakeLists.txt.
