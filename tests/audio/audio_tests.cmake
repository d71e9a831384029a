# Tests that listen to Vornik. ctest starts a private PulseAudio server before
# them and stops it after them; Vornik finds it through PULSE_SERVER, which Wine
# passes on to the programs a test starts.
string(MD5 audio_id "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${audio_id}" 0 12 audio_id)
# Short: the server's socket path must fit a unix socket address.
set(audio_dir /tmp/vornik-audio-${audio_id})
set(audio_script ${CMAKE_SOURCE_DIR}/tests/audio/audio_server.sh)

add_test(NAME audio_server_start COMMAND bash ${audio_script} start ${audio_dir})
add_test(NAME audio_server_stop COMMAND bash ${audio_script} stop ${audio_dir})
set_tests_properties(audio_server_start PROPERTIES FIXTURES_SETUP audio_server)
set_tests_properties(audio_server_stop PROPERTIES FIXTURES_CLEANUP audio_server)

function(vornik_listening_test name)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED audio_server ENVIRONMENT
    "PULSE_SERVER=unix:${audio_dir}/native;VORNIK_AUDIO_DIR=${audio_dir};VORNIK_AUDIO_SCRIPT=${audio_script}")
  target_sources(${name} PRIVATE tests/audio/listening.cpp)
  target_include_directories(${name} PRIVATE tests/audio)
endfunction()

vornik_system_test(sound_system_test tests/system/sound_test.cpp)
vornik_listening_test(sound_system_test)
vornik_win_test(playback_test tests/win/playback_test.cpp)
vornik_listening_test(playback_test)

# No audio server at all: a socket that does not exist.
vornik_system_test(silent_system_test tests/system/silent_test.cpp)
target_link_libraries(silent_system_test PRIVATE winmm)
set_tests_properties(silent_system_test PROPERTIES
  ENVIRONMENT "PULSE_SERVER=unix:/nonexistent/vornik-no-audio-server")
