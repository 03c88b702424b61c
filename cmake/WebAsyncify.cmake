# The game's loop blocks; Asyncify lets it hand control back to the page at each sleep and frame
# and resume where it stopped.
target_link_options(kelvora PRIVATE -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536)
