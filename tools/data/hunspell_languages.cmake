# Reads tools/data/hunspell_languages.txt, the languages built from
# Hunspell dictionaries, for the rules that build them and the packaging
# that ships their notices.

set(VOCOR_HUNSPELL_LANGUAGES_FILE
    ${CMAKE_CURRENT_LIST_DIR}/hunspell_languages.txt)
set(VOCOR_HUNSPELL_FOLDER /usr/share/hunspell)
set(vocor_hunspell_fields file name lcid package hunspell plain use options)

# Sets ${out} to the list of the file's languages, each one record: its
# fields in the order of vocor_hunspell_fields, separated by "|".
function(vocor_read_hunspell_languages out)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${VOCOR_HUNSPELL_LANGUAGES_FILE})
  file(STRINGS ${VOCOR_HUNSPELL_LANGUAGES_FILE} lines ENCODING UTF-8)
  set(records "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*(#|$)")
      continue()
    endif()
    string(REGEX REPLACE "[ \t]*\\|[ \t]*" "|" record "${line}")
    string(STRIP "${record}" record)
    # A line without options ends in its separator, which STRIP keeps.
    string(REGEX MATCHALL "\\|" separators "${record}")
    list(LENGTH separators count)
    if(NOT count EQUAL 7)
      message(FATAL_ERROR
        "${VOCOR_HUNSPELL_LANGUAGES_FILE}: expected 8 fields in '${line}'")
    endif()
    list(APPEND records "${record}")
  endforeach()
  set(${out} "${records}" PARENT_SCOPE)
endfunction()

# Sets one variable per field of `record`, named lang_FIELD (lang_file,
# lang_name, ...), in the caller's scope.
macro(vocor_unpack_hunspell_language record)
  string(REPLACE "|" ";" vocor_unpacked_fields "${record}")
  foreach(vocor_field_index RANGE 7)
    list(GET vocor_hunspell_fields ${vocor_field_index} vocor_field_name)
    list(GET vocor_unpacked_fields ${vocor_field_index} lang_${vocor_field_name})
  endforeach()
endmacro()
