cmake_minimum_required(VERSION 3.25)
# Makes the MSI from the program's folder:
#   cmake -DCONFIG=msi-config.cmake -DOUT=x.msi [-DVERSION=1.2.3] [-DSTAGE=folder] -P MakeMsi.cmake
# The same folder and version give the same bytes on every machine and day.
include(${CONFIG})

# The product code follows from the version: a rebuild of one version is the
# same product, a new version a new one.
string(UUID product_code NAMESPACE ${TAVREL_UPGRADE_CODE} NAME ${VERSION} TYPE SHA1 UPPER)

# Windows Installer replaces an installed program by its version, so the
# File row carries the one in the program's own version information.
execute_process(COMMAND ${RC} -i ${STAGE}/Tavrel_Oskund.exe -O rc OUTPUT_VARIABLE resources COMMAND_ERROR_IS_FATAL ANY)
if(NOT resources MATCHES "FILEVERSION ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+)")
  message(FATAL_ERROR "${STAGE}/Tavrel_Oskund.exe has no version information")
endif()
set(file_version ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}.${CMAKE_MATCH_4})
if(NOT resources MATCHES "VALUE \"Translation\", (0x[0-9a-fA-F]+),")
  message(FATAL_ERROR "${STAGE}/Tavrel_Oskund.exe has no language in its version information")
endif()
math(EXPR file_language ${CMAKE_MATCH_1} OUTPUT_FORMAT DECIMAL)

get_filename_component(work ${OUT} DIRECTORY)
set(wxs ${work}/packaging/Tavrel_Oskund-${VERSION}.wxs)
# wixl takes the files from its working folder, by relative names only.
file(RELATIVE_PATH icon ${STAGE} ${TAVREL_ICON})
configure_file(${TEMPLATE} ${wxs} @ONLY)

# The package code names these very bytes: it changes with anything that
# goes in, and stays the same for a rebuild.
set(inputs "")
foreach(file ${wxs} ${STAGE}/Tavrel_Oskund.exe ${STAGE}/README.txt ${STAGE}/NOTICES.txt ${TAVREL_ICON})
  file(SHA256 ${file} hash)
  string(APPEND inputs ${hash})
endforeach()
string(UUID package_code NAMESPACE ${TAVREL_UPGRADE_CODE} NAME ${inputs} TYPE SHA1 UPPER)

# wixl and msibuild stamp the summary and every storage of the file with the
# clock: here it stands still at the last commit.
file(STRINGS ${EPOCH_FILE} epoch LIMIT_COUNT 1)
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
string(TIMESTAMP frozen "%Y-%m-%d %H:%M:%S" UTC)
set(ENV{TZ} UTC)
set(ENV{WINDOWS_LANGUAGE} bg)
set(part ${OUT}.part)
file(REMOVE ${part})
execute_process(COMMAND ${FAKETIME} -f ${frozen} ${WIXL} --arch x86 -o ${part} ${wxs} WORKING_DIRECTORY ${STAGE}
                COMMAND_ERROR_IS_FATAL ANY)
# wixl knows no version for a file, and writes 1033 into the summary
# whatever the product's language.
# msibuild takes one change per run.
execute_process(
  COMMAND ${FAKETIME} -f ${frozen} ${MSIBUILD} ${part}
          -q "UPDATE `File` SET `Version` = '${file_version}', `Language` = '${file_language}' WHERE `File` = 'Tavrel_Oskund.exe'"
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${FAKETIME} -f ${frozen} ${MSIBUILD} ${part} -i ${CODEPAGE_TABLE} COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND ${FAKETIME} -f ${frozen} ${MSIBUILD} ${part}
          -s "Tavrel_Oskund ${VERSION}" ${TAVREL_PUBLISHER} "Intel;1026" "{${package_code}}"
  COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${part} ${OUT})
