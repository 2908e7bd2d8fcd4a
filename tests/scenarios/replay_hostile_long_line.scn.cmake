# A line may hold 1 MiB (without its newline); one byte more is refused
# before the rest of the line is read.
string(REPEAT "x" 1048575 fill)
file(WRITE ${OUT} "#${fill}\ndump\n#x${fill}\ndump\n")
