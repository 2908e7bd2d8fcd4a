# Three million lines, most of them empty: line numbers stay right and the
# reading stays quick.
string(REPEAT "\n" 1000000 empty)
string(REPEAT "# comment\n" 1000000 comments)
file(WRITE ${OUT} "${empty}dump\n${comments}${empty}jump\n")
