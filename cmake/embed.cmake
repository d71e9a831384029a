# vornik_embed(<target> <symbol> <file>): compiles <file>'s bytes into <target> as
#   namespace vornik::assets { extern const unsigned char <symbol>[];
#                              extern const std::size_t <symbol>Size; }
# The committed file is the source of truth; the array is regenerated when it changes.
function(vornik_embed target symbol file)
  set(input ${CMAKE_SOURCE_DIR}/${file})
  set(output ${CMAKE_BINARY_DIR}/embedded/${symbol}.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P ${CMAKE_SOURCE_DIR}/cmake/embed_file.cmake
    DEPENDS ${input} ${CMAKE_SOURCE_DIR}/cmake/embed_file.cmake
    COMMENT "Embedding ${file}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
