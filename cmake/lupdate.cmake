# The editor's translations: lupdate over the sources that show texts, into
# resources/translations/quarvel_<language>.ts. The Japanese texts as the code writes them are the
# source texts; lupdate finds
#   QCoreApplication::translate("Context", "…") in the Qt code,
#   QT_TRANSLATE_NOOP("Context", "…") in the Qt code's tables,
#   Tr("Context", "…") in the Qt-free core (editor/texts.h), and
#   QUARVEL_TR_NOOP("Context", "…") in the core's tables (map/textmarker.h).
#
#   cmake -DMODE=update -DLUPDATE=<lupdate> -DSOURCE_DIR=<source folder> -P lupdate.cmake
#       brings each .ts up to date with the sources (new texts come in unfinished, texts no
#       longer in the code go) and lists what still needs a translation;
#       `cmake --build build --target update_translations` runs it.
#   cmake -DMODE=check -DLUPDATE=<lupdate> -DSOURCE_DIR=<source folder> -DWORK_DIR=<folder>
#         -P lupdate.cmake
#       runs lupdate on a copy of each .ts in WORK_DIR and fails when a text shown has no
#       finished translation, a translation stands for a text the code no longer shows, or a
#       translation lacks a %1.. of its source (the test `translations`).
cmake_minimum_required(VERSION 3.20)

set(languages en)
set(folders map editor views app)
set(options -locations none -source-language ja -tr-function-alias
            "translate+=Tr,QT_TRANSLATE_NOOP+=QUARVEL_TR_NOOP" -silent)

if(NOT LUPDATE OR NOT SOURCE_DIR)
    message(FATAL_ERROR "run as: cmake -DMODE=update|check -DLUPDATE=<lupdate> "
                        "-DSOURCE_DIR=<source folder> [-DWORK_DIR=<folder>] -P lupdate.cmake")
endif()

# The sources: the editor's folders (quarvel-cli in app/cli speaks English and is left out).
set(sources "")
foreach(folder IN LISTS folders)
    file(GLOB files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    list(SORT files)
    list(APPEND sources ${files})
endforeach()

# What in a .ts needs work: one line per text.
function(quarvel_ts_problems ts out)
    file(READ ${ts} xml)
    set(problems "")
    set(context "")
    # One list item per message: the characters that CMake's lists treat specially stand in
    # for others until a text is reported.
    string(ASCII 1 semicolon)
    string(ASCII 2 open)
    string(ASCII 3 close)
    string(REPLACE ";" "${semicolon}" xml "${xml}")
    string(REPLACE "[" "${open}" xml "${xml}")
    string(REPLACE "]" "${close}" xml "${xml}")
    string(REPLACE "</message>" "</message>;" xml_messages "${xml}")
    foreach(chunk IN LISTS xml_messages)
        if(chunk MATCHES "<name>([^<]*)</name>")
            set(context "${CMAKE_MATCH_1}")
        endif()
        if(NOT chunk MATCHES "<message[^>]*>(.*)</message>")
            continue()
        endif()
        set(message "${CMAKE_MATCH_1}")
        string(REGEX MATCH "<source>([^<]*)</source>" _ "${message}")
        set(source "${CMAKE_MATCH_1}")
        string(REGEX MATCH "<translation([^>]*)>([^<]*)</translation>" _ "${message}")
        set(attributes "${CMAKE_MATCH_1}")
        set(translation "${CMAKE_MATCH_2}")
        if(attributes MATCHES "type=\"(unfinished|vanished|obsolete)\"")
            set(what "${CMAKE_MATCH_1}")
            if(what STREQUAL "unfinished" AND translation STREQUAL "")
                set(what "not translated")
            elseif(NOT what STREQUAL "unfinished")
                set(what "no longer in the code")
            endif()
            string(APPEND problems "  ${context}: \"${source}\": ${what}\n")
            continue()
        endif()
        # Every %1 .. %9 of the source is in the translation, and no other.
        string(REGEX MATCHALL "%[1-9]" wanted "${source}")
        string(REGEX MATCHALL "%[1-9]" given "${translation}")
        list(REMOVE_DUPLICATES wanted)
        list(REMOVE_DUPLICATES given)
        list(SORT wanted)
        list(SORT given)
        if(NOT "${wanted}" STREQUAL "${given}")
            string(APPEND problems
                   "  ${context}: \"${source}\": the translation has ${given} for ${wanted}\n")
        endif()
    endforeach()
    string(REPLACE "${semicolon}" ";" problems "${problems}")
    string(REPLACE "${open}" "[" problems "${problems}")
    string(REPLACE "${close}" "]" problems "${problems}")
    set(${out} "${problems}" PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "update")
    set(work ${SOURCE_DIR}/resources/translations)
    list(APPEND options -no-obsolete)
elseif(MODE STREQUAL "check")
    if(NOT WORK_DIR)
        message(FATAL_ERROR "MODE=check needs WORK_DIR")
    endif()
    set(work ${WORK_DIR})
    file(REMOVE_RECURSE ${work})
    file(MAKE_DIRECTORY ${work})
else()
    message(FATAL_ERROR "MODE is update or check, not '${MODE}'")
endif()

string(REPLACE ";" "\n" list_text "${sources}")
file(WRITE ${work}/.lupdate-sources.txt "${list_text}\n")
set(failed "")
foreach(language IN LISTS languages)
    set(ts ${work}/quarvel_${language}.ts)
    if(MODE STREQUAL "check")
        file(COPY_FILE ${SOURCE_DIR}/resources/translations/quarvel_${language}.ts ${ts})
    endif()
    execute_process(COMMAND ${LUPDATE} ${options} -target-language ${language}
                            @${work}/.lupdate-sources.txt -ts ${ts}
                    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${ts}:\n${output}")
    endif()
    # Silent, lupdate speaks only of code its parser did not follow: shown, not a failure
    # (out-of-class definitions of nested classes it always mentions are left out).
    string(REGEX REPLACE "[^\n]*Ignoring definition of undeclared qualified class\n?" "" output
                         "${output}")
    if(NOT output STREQUAL "")
        message("lupdate on quarvel_${language}.ts:\n${output}")
    endif()
    quarvel_ts_problems(${ts} problems)
    if(problems)
        string(APPEND failed "quarvel_${language}.ts:\n${problems}")
    endif()
endforeach()
file(REMOVE ${work}/.lupdate-sources.txt)

if(failed AND MODE STREQUAL "check")
    message(FATAL_ERROR
            "Texts the editor shows without a finished translation (bring the .ts up to date "
            "with `cmake --build build --target update_translations`, then translate):\n"
            "${failed}")
elseif(failed)
    message("Still to translate in resources/translations:\n${failed}")
endif()
