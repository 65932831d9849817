# The program's layers as libraries, made from one ordered list (cmake/layers.txt):
# quillon_<layer> for each, linking the layers it builds on and nothing else, and
# compiled against an include root of its own in the build folder that holds only its
# own folder and those of the layers below it (symbolic links into the source tree), so
# that an include reaching up names a header that does not exist, and a call reaching
# up has nothing to link to. Needs nothing but CMake: tests/layers builds a tiny tree
# with it.

# Sets QUILLON_LAYERS (lowest first) and, for each layer, QUILLON_LAYER_<layer>_USES
# (the layers it builds on) and QUILLON_LAYER_<layer>_SEES (its own folder and every
# layer below it).
function (quillon_read_layers listFile)
    set_property (DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${listFile}")
    file (STRINGS "${listFile}" lines REGEX "^[a-z]")
    set (layers "")

    foreach (line IN LISTS lines)
        string (REGEX REPLACE "[ \t]+" ";" uses "${line}")
        list (POP_FRONT uses layer)
        list (FILTER uses EXCLUDE REGEX "^\\+")

        if (layer IN_LIST layers)
            message (FATAL_ERROR "${listFile}: ${layer} is listed twice")
        endif()

        set (sees ${layer})

        foreach (lower IN LISTS uses)
            if (NOT lower IN_LIST layers)
                message (FATAL_ERROR "${listFile}: ${layer} builds on ${lower}, which is not listed above it")
            endif()

            list (APPEND sees ${QUILLON_LAYER_${lower}_SEES})
        endforeach()

        list (REMOVE_DUPLICATES sees)
        set (QUILLON_LAYER_${layer}_SEES ${sees})
        set (QUILLON_LAYER_${layer}_SEES ${sees} PARENT_SCOPE)
        set (QUILLON_LAYER_${layer}_USES ${uses} PARENT_SCOPE)
        list (APPEND layers ${layer})
    endforeach()

    set (QUILLON_LAYERS ${layers} PARENT_SCOPE)
endfunction()

# One static library per layer, quillon_<layer>, over the folders of sourceRoot. Links
# left from an earlier configuration go first, so that a layer taken out of the list
# stops being seen.
function (quillon_add_layer_libraries sourceRoot)
    foreach (layer IN LISTS QUILLON_LAYERS)
        set (root "${PROJECT_BINARY_DIR}/layers/${layer}")
        file (MAKE_DIRECTORY "${root}")
        file (GLOB oldLinks LIST_DIRECTORIES true "${root}/*")

        foreach (oldLink IN LISTS oldLinks)
            if (IS_SYMLINK "${oldLink}")
                file (REMOVE "${oldLink}")
            endif()
        endforeach()

        foreach (folder IN LISTS QUILLON_LAYER_${layer}_SEES)
            file (CREATE_LINK "${sourceRoot}/${folder}" "${root}/${folder}" SYMBOLIC)
        endforeach()

        add_library (quillon_${layer} STATIC)
        target_include_directories (quillon_${layer} PUBLIC "${root}")

        foreach (lower IN LISTS QUILLON_LAYER_${layer}_USES)
            target_link_libraries (quillon_${layer} PUBLIC quillon_${lower})
        endforeach()
    endforeach()
endfunction()

# Fails the configuration when target links, however indirectly, a library of this
# project that is not one of the program's layers (the test kit, the demo): for what is
# shipped. Called at the end of the configuration, when every link is known.
function (quillon_check_links_only_layers target)
    set (allowed quillon_juce quillon_juce_config quillon_icon_data)

    foreach (layer IN LISTS QUILLON_LAYERS)
        list (APPEND allowed quillon_${layer})
    endforeach()

    set (pending ${target})
    set (seen "")

    while (pending)
        list (POP_FRONT pending current)

        if (current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()

        list (APPEND seen ${current})

        if (NOT current STREQUAL target AND current MATCHES "^quillon_" AND NOT current IN_LIST allowed)
            message (FATAL_ERROR "${target} is shipped but links ${current}, which is not one of the program's layers")
        endif()

        foreach (property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
            get_target_property (links ${current} ${property})

            if (links)
                string (REGEX REPLACE "\\$<LINK_ONLY:([^>]*)>" "\\1" links "${links}")
                list (APPEND pending ${links})
            endif()
        endforeach()
    endwhile()
endfunction()
